// Saves pictures of the connection dialog (a PostgreSQL server filled in) and the login
// dialog, and the shell with the area window at the shell's minimum size, into the folder given as
// the first argument. Needs a real display (an X server).
#include "ConnectionDialog.h"
#include "LoginDialog.h"
#include "ModuleLibrary.h"
#include "QtTranslations.h"
#include "ShellOptions.h"
#include "ShellWindow.h"
#include "platform/Fonts.h"
#include "server/DataServer.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

bool capture(QWidget& widget, const QDir& folder, const QString& name)
{
    widget.show();
    widget.raise();
    if (!QTest::qWaitForWindowExposed(&widget)) {
        std::fprintf(stderr, "the window was not shown: no display?\n");
        return false;
    }
    QTest::qWait(300);
    const bool ok = widget.grab().save(folder.filePath(name));
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "FAILED", qPrintable(folder.filePath(name)));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    platform::installFontSubstitutions();
    installQtTranslations(application);

    ConnectionDialog connection(QStringLiteral("postgresql://clerk@warehouse-db:5432/warehouse"),
                                QStringLiteral("0001"), {}, nullptr);
    bool ok = capture(connection, folder, QStringLiteral("connection-dialog.png"));

    QTemporaryDir data;
    QString error;
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(data.filePath(QStringLiteral("demo.db")), {}, &error));
    if (!server || !server->loadDemoData(&error)) {
        std::fprintf(stderr, "no database: %s\n", qPrintable(error));
        return 1;
    }
    LoginDialog login(server.get(), QStringLiteral("0001"), nullptr);
    ok = capture(login, folder, QStringLiteral("login-dialog.png")) && ok;

    const auto module = ModuleLibrary::load(
        ShellOptions::defaultModulePath(QApplication::applicationDirPath()), &error);
    if (!module) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    ShellWindow shell(server.get(), module.get(), QStringLiteral("0001"));
    shell.resize(shell.minimumSize());
    shell.openModule();
    ok = capture(shell, folder, QStringLiteral("shell-minimum-size.png")) && ok;
    return ok ? 0 : 1;
}
