#include "DatabaseSession.h"

#include "ConnectionErrors.h"
#include "platform/MessageBox.h"

#include <QInputDialog>
#include <QLineEdit>

namespace {

// Asks for the password of target; false when the clerk cancelled.
bool askPassword(QWidget* parent, const DatabaseTarget& target, bool refused, QString& password)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("passwordDialog"));
    dialog.setWindowTitle(QStringLiteral("数据库密码"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setLabelText((refused ? QStringLiteral("密码不正确，请重新输入。\n")
                                 : QStringLiteral("数据库服务器要求输入密码。\n")) +
                        QStringLiteral("数据库：%1\n密码：").arg(target.shownName()));
    dialog.setOkButtonText(QStringLiteral("连接"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (platform::execModal(dialog) != QDialog::Accepted)
        return false;
    password = dialog.textValue();
    return true;
}

} // namespace

platform::DispatchRef<server::DataServer> openSession(QWidget* parent, DatabaseTarget& target,
                                                      const QString& operatorCode,
                                                      const QString& sqlTraceFile, QString& error)
{
    for (;;) {
        server::DataServerOptions options;
        options.operatorCode = operatorCode;
        options.sqlTraceFile = sqlTraceFile;
        options.createSchema = target.createSchema;
        options.password = target.password;
        QString reason;
        bool needsPassword = false;
        auto server = platform::DispatchRef<server::DataServer>::adopt(
            server::DataServer::open(target.database, options, &reason, &needsPassword));
        if (server) {
            error.clear();
            return server;
        }
        const bool refused =
            !target.password.isEmpty() && ConnectionErrors::isWrongPassword(reason);
        if (!needsPassword && !refused) {
            error = ConnectionErrors::describe(target.shownName(), reason);
            return {};
        }
        target.password.clear();
        QString password;
        if (!askPassword(parent, target, refused, password)) {
            error.clear();
            return {};
        }
        target.password = password;
    }
}
