#include "MessageBox.h"

#include "Error.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <exception>

namespace platform {

namespace {

MessageBoxInterceptor& messageBoxInterceptor()
{
    static MessageBoxInterceptor interceptor;
    return interceptor;
}

ModalInterceptor& modalInterceptor()
{
    static ModalInterceptor interceptor;
    return interceptor;
}

QMessageBox::Icon qtIcon(MessageBoxIcon icon)
{
    switch (icon) {
    case MessageBoxIcon::Stop:
        return QMessageBox::Critical;
    case MessageBoxIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxIcon::Information:
        return QMessageBox::Information;
    case MessageBoxIcon::Question:
        return QMessageBox::Question;
    case MessageBoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MessageBoxButtons buttons)
{
    switch (buttons) {
    case MessageBoxButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageBoxButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageBoxButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

int resultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return 0;
    }
}

bool isResultOf(MessageBoxButtons buttons, int result)
{
    switch (buttons) {
    case MessageBoxButtons::Ok:
        return result == IDOK;
    case MessageBoxButtons::OkCancel:
        return result == IDOK || result == IDCANCEL;
    case MessageBoxButtons::YesNo:
        return result == IDYES || result == IDNO;
    }
    return false;
}

} // namespace

int showMessageBox(WindowHandle owner, const QString& text, const QString& caption,
                   MessageBoxButtons buttons, MessageBoxIcon icon)
{
    // Copy first: the interceptor may replace itself while it runs.
    if (const MessageBoxInterceptor interceptor = messageBoxInterceptor())
        return interceptor(MessageBoxRequest{owner, text, caption, buttons, icon});

    QWidget* parent = windowFromHandle(owner);
    if (!parent)
        parent = ModuleApplication::mainWindow();
    QMessageBox box(qtIcon(icon), caption, text, qtButtons(buttons), parent);
    box.setObjectName(QStringLiteral("SystemMessageBox"));
    if (buttons == MessageBoxButtons::Ok)
        box.setEscapeButton(QMessageBox::Ok);
    else if (buttons == MessageBoxButtons::OkCancel)
        box.setEscapeButton(QMessageBox::Cancel);

    // Through the modal seam, so a test driving dialogs never blocks on a message box; a
    // handler may click a button or return one of the box's results directly.
    const bool intercepted = bool(modalInterceptor());
    const int result = execModal(box);
    if (QAbstractButton* clicked = box.clickedButton()) {
        if (const int mapped = resultOf(box.standardButton(clicked)))
            return mapped;
    }
    if (intercepted && isResultOf(buttons, result))
        return result;
    return buttons == MessageBoxButtons::Ok ? IDOK : IDCANCEL;
}

void setMessageBoxInterceptor(MessageBoxInterceptor interceptor)
{
    messageBoxInterceptor() = std::move(interceptor);
}

int execModal(QDialog& dialog)
{
    if (const ModalInterceptor interceptor = modalInterceptor())
        return interceptor(dialog);
    return dialog.exec();
}

void setModalInterceptor(ModalInterceptor interceptor)
{
    modalInterceptor() = std::move(interceptor);
}

void runGuarded(WindowHandle owner, const std::function<void()>& handler)
{
    QString text;
    try {
        handler();
        return;
    } catch (const Error& error) {
        text = error.message();
    } catch (const std::exception& error) {
        text = QString::fromUtf8(error.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    try {
        showMessageBox(owner, text, ModuleApplication::title(), MessageBoxButtons::Ok,
                       MessageBoxIcon::Stop);
    } catch (...) {
        // Showing the error failed too; nothing more can be reported from here.
    }
}

} // namespace platform
