#include "ShellStartup.h"

#include "ConnectionDialog.h"
#include "ConnectionSettings.h"
#include "LoginDialog.h"
#include "StartupErrors.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFileInfo>

DatabaseTarget ShellStartup::startupTarget(const ShellOptions& options)
{
    if (!options.defaultDatabase)
        return {options.database, {}, false};
    const QString remembered = ConnectionSettings::rememberedDatabase();
    // The embedded default sets itself up wherever it is named from.
    if (!remembered.isEmpty())
        return {remembered, {}, remembered == ShellOptions::defaultDatabasePath()};
    return {ShellOptions::defaultDatabasePath(), {}, true};
}

bool ShellStartup::run(const ShellOptions& options)
{
    const bool windowless = !options.screenshot.isEmpty();
    if (!windowless)
        return openDatabase(options, false) && logIn(options, false);
    // Nobody answers a dialog while a picture is taken: each one is cancelled at once.
    platform::setModalInterceptor([](QDialog&) { return int(QDialog::Rejected); });
    const bool ok = openDatabase(options, true) && logIn(options, true);
    platform::setModalInterceptor({});
    return ok;
}

bool ShellStartup::openDatabase(const ShellOptions& options, bool windowless)
{
    target = startupTarget(options);
    // --demo replaces every row anyway: a SQLite file it names is made when missing.
    if (options.demo && !server::DataServer::isPostgresUri(target.database))
        target.createSchema = true;
    // The embedded default is created, with the demo warehouse, on first run.
    bool loadDemo = options.demo;
    if (target.createSchema && !QFileInfo::exists(target.database)) {
        QDir().mkpath(QFileInfo(target.database).absolutePath());
        loadDemo = true;
    }
    QString error;
    session = openSession(nullptr, target, options.operatorCode, options.sqlTrace, error);
    if (!session) {
        if (windowless) {
            exitStatus = StartupErrors::report(
                error.isEmpty() ? QStringLiteral("数据库服务器要求输入密码") : error, 1, true);
            return false;
        }
        const QString offer = QStringLiteral("\n\n按“确定”选择数据库，按“取消”退出。");
        if (!error.isEmpty() &&
            platform::showMessageBox(0, error + offer, QStringLiteral("仓储业务后台"),
                                     platform::MessageBoxButtons::OkCancel,
                                     platform::MessageBoxIcon::Stop) != platform::IDOK) {
            exitStatus = 1;
            return false;
        }
        ConnectionDialog dialog(target.shownName(), options.operatorCode, options.sqlTrace,
                                nullptr);
        if (platform::execModal(dialog) != QDialog::Accepted) {
            exitStatus = 1;
            return false;
        }
        target = dialog.target();
        session = dialog.takeSession();
        ConnectionSettings::rememberDatabase(target.database);
    }
    if (loadDemo && !session->loadDemoData(&error)) {
        exitStatus =
            StartupErrors::report(QStringLiteral("无法写入演示数据：%1").arg(error), 1, windowless);
        return false;
    }
    return true;
}

bool ShellStartup::logIn(const ShellOptions& options, bool windowless)
{
    operatorCode = options.operatorCode;
    if (!operatorCode.isEmpty())
        return true;
    if (windowless) {
        operatorCode = QString::fromLatin1(ShellOptions::DemoOperator);
    } else {
        LoginDialog login(session.get(), ConnectionSettings::lastOperator(), nullptr);
        if (platform::execModal(login) != QDialog::Accepted) {
            exitStatus = 0;
            return false;
        }
        operatorCode = login.operatorCode();
        ConnectionSettings::rememberOperator(operatorCode);
    }
    // The session that was opened for the login becomes the operator's own.
    QString error;
    session = openSession(nullptr, target, operatorCode, options.sqlTrace, error);
    if (!session) {
        exitStatus = StartupErrors::report(error.isEmpty() ? QStringLiteral("已取消") : error, 1,
                                           windowless);
        return false;
    }
    return true;
}
