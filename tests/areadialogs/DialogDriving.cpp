#include "DialogDriving.h"

#include <QApplication>
#include <QLabel>

namespace dialogdriving {

std::function<int(QDialog&)> drive(std::function<void(QDialog&)> action)
{
    return [action](QDialog& dialog) {
        dialog.setResult(0);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        action(dialog);
        dialog.hide();
        return dialog.result();
    };
}

std::function<int(QDialog&)> recordMessage(QStringList& seen)
{
    return [&seen](QDialog& dialog) {
        const auto* message = dialog.findChild<QLabel*>(QStringLiteral("Message"));
        seen << dialog.windowTitle() + QLatin1Char('|') + (message ? message->text() : QString());
        return 1;
    };
}

} // namespace dialogdriving
