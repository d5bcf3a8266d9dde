#include "host/TFrmBase.h"

#include "host/HostContext.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr uint32_t ResizeMessage = platform::WM_USER + 2;
constexpr uint32_t ClosedMessage = platform::WM_USER + 4;

} // namespace

// The owner is the QObject parent, so destroying it destroys the window. With an owner the
// window is created as its child at once (re-parenting by handle then only shows it);
// without one it is a borderless top-level window.
TFrmBase::TFrmBase(QWidget* owner)
    : QWidget(owner, Qt::FramelessWindowHint), PanelMain(new QFrame(this))
{
    setFont(platform::songtiFont(12));
    // A client-aligned window without a parent of its own covers the desktop work area;
    // once embedded it is clipped by the host's panel and PanelMain carries the visible size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    PanelMain->setFrameShape(QFrame::NoFrame);
    PanelMain->move(0, 0);
    PanelMain->installEventFilter(this);
}

bool TFrmBase::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PanelMain && event->type() == QEvent::Resize)
        resize(size().expandedTo(PanelMain->size())); // PanelMain sits at (0, 0)
    return QWidget::eventFilter(watched, event);
}

intptr_t TFrmBase::windowMessage(uint32_t message, intptr_t wParam, intptr_t lParam)
{
    if (message == ResizeMessage) {
        PanelMain->resize(PanelMain->width(), int32_t(wParam));
        PanelMain->resize(int32_t(lParam), PanelMain->height());
    }
    return 0;
}

void TFrmBase::FormCreate()
{
    platform::ModuleApplication::setMainWindowHandle(hostContext().AppHandle);
}

void TFrmBase::closeEvent(QCloseEvent* event)
{
    platform::runGuarded(platform::windowHandle(this), [] {
        if (QWidget* host = hostContext().HostWindow.data())
            platform::sendMessage(platform::windowHandle(host), ClosedMessage, 0, 0);
    });
    event->accept();
    deleteLater();
}
