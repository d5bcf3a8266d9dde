#include "host/ModuleEntry.h"

#include "area/AreaModuleState.h"
#include "area/TfrmArea.h"
#include "host/HostContext.h"
#include "nelvo/NelvoModule.h"
#include "platform/Dispatch.h"
#include "platform/Error.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "platform/Window.h"

#include <cstring>
#include <memory>

namespace {

// Runs unloadModule when the library's static objects are destroyed.
struct ModuleUnloadGuard {
    ModuleUnloadGuard() = default;
    ModuleUnloadGuard(const ModuleUnloadGuard&) = delete;
    ModuleUnloadGuard& operator=(const ModuleUnloadGuard&) = delete;
    ~ModuleUnloadGuard() { unloadModule(); }
};

void reportEntryError(const QString& text)
{
    try {
        platform::showMessageBox(0, text, platform::ModuleApplication::title(),
                                 platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::Stop);
    } catch (...) {
        // Nothing may leave the entry, not even a failure to show the failure.
    }
}

void openAreaWindow(const unsigned char* operatorBuffer, std::uintptr_t appHandle,
                    QWidget* hostWindow, QWidget* parent, platform::DispatchObject* server)
{
    HostContext& context = hostContext();
    // Constructed after the context, so destroyed (and run) before it at unload.
    static ModuleUnloadGuard unloadGuard;
    platform::installFontSubstitutions();

    context.AppHandle = platform::WindowHandle(appHandle);
    platform::ModuleApplication::setMainWindowHandle(0);
    context.HostWindow = hostWindow;
    // The temporary takes the new reference before the assignment releases the old one.
    context.Server = platform::DispatchRef<platform::DispatchObject>(server);
    context.OperatorCode = platform::decodeShortString(operatorBuffer);

    if (!parent)
        throw platform::Error(QStringLiteral("No parent window for the module window"));
    auto window = std::make_unique<TfrmArea>(parent);
    context.AreaForm = window.get();
    if (!platform::setParentWindow(platform::windowHandle(window.get()),
                                   platform::windowHandle(parent)))
        throw platform::Error(QStringLiteral("Cannot embed the module window"));
    window->PanelMain->resize(window->PanelMain->width(), parent->height());
    window->PanelMain->resize(parent->width(), window->PanelMain->height());
    window->show();
    // The window's keys work at once: the focus leaves the host's controls for the tree.
    window->TN->setFocus(Qt::OtherFocusReason);
    window.release(); // owned by the parent from now on
}

} // namespace

void unloadModule()
{
    HostContext& context = hostContext();
    context.OperatorCode.clear();
    LocateText.clear();
    context.Server.reset();
}

extern "C" void GetNelvoForm(std::uintptr_t appHandle, QWidget* hostWindow,
                             const unsigned char* operatorCode, QWidget* parent,
                             platform::DispatchObject* server)
{
    unsigned char operatorBuffer[256] = {};
    if (operatorCode)
        std::memcpy(operatorBuffer, operatorCode, size_t(operatorCode[0]) + 1);
    try {
        // The call's own reference, released on every way out.
        const platform::DispatchRef<platform::DispatchObject> callReference(server);
        openAreaWindow(operatorBuffer, appHandle, hostWindow, parent, server);
    } catch (const platform::Error& error) {
        reportEntryError(error.message());
    } catch (const std::exception& error) {
        reportEntryError(QString::fromUtf8(error.what()));
    } catch (...) {
        reportEntryError(QStringLiteral("Unknown error while opening the module window"));
    }
}
