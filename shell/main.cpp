// nelvo-shell: a stand-in for the back-office shell that loads the area module.
#include "ModuleLibrary.h"
#include "ShellOptions.h"
#include "ShellWindow.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

namespace {

int fail(const QString& message, bool quiet)
{
    std::fprintf(stderr, "nelvo-shell: %s\n", qPrintable(message));
    if (!quiet)
        platform::showMessageBox(0, message, QStringLiteral("错误"),
                                 platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::Stop);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("nelvo-shell"));
    QApplication::setOrganizationName(QStringLiteral("nelvo"));
    platform::installFontSubstitutions();

    ShellOptions options;
    QString error;
    if (!ShellOptions::parse(QApplication::arguments(), options, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return options.help ? 0 : 2;
    }
    const bool quiet = !options.screenshot.isEmpty();
    if (options.modulePath.isEmpty())
        options.modulePath = ShellOptions::defaultModulePath(QApplication::applicationDirPath());

    // The default database is created, with the demo warehouse, on first run.
    bool loadDemo = options.demo;
    if (options.defaultDatabase && !QFileInfo::exists(options.database)) {
        QDir().mkpath(QFileInfo(options.database).absolutePath());
        loadDemo = true;
    }
    server::DataServerOptions serverOptions{options.operatorCode, options.sqlTrace};
    // A SQLite file sets itself up (its one user is owner and clerk at once); a shared
    // server's schema is the administrator's (nelvo-admin init).
    serverOptions.createSchema = !server::DataServer::isPostgresUri(options.database);
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(options.database, serverOptions, &error));
    if (!server)
        return fail(error, quiet);
    if (loadDemo && !server->loadDemoData(&error))
        return fail(QStringLiteral("无法写入演示数据：%1").arg(error), quiet);

    const std::unique_ptr<ModuleLibrary> module = ModuleLibrary::load(options.modulePath, &error);
    if (!module)
        return fail(error, quiet);

    ShellWindow window(server.get(), module.get(), options.operatorCode);
    window.show();
    if (options.open)
        window.openModule();
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, &options] {
            if (!window.grab().save(options.screenshot))
                std::fprintf(stderr, "nelvo-shell: cannot write %s\n",
                             qPrintable(options.screenshot));
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
