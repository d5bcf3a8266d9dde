// nelvo-shell: a stand-in for the back-office shell that loads the area module.
#include "ModuleLibrary.h"
#include "NelvoBuildInfo.h"
#include "QtTranslations.h"
#include "ShellOptions.h"
#include "ShellStartup.h"
#include "ShellWindow.h"
#include "StartupErrors.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (nelvo::printVersionIfAsked("nelvo-shell", argc, argv))
        return 0;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("nelvo-shell"));
    QApplication::setOrganizationName(QStringLiteral("nelvo"));
    platform::installFontSubstitutions();
    installQtTranslations(application);

    ShellOptions options;
    QString error;
    if (!ShellOptions::parse(QApplication::arguments(), options, error)) {
        if (options.help) {
            std::fprintf(stdout, "%s\n", qPrintable(error));
            return 0;
        }
        // With --screenshot nobody is there to close a message box.
        return StartupErrors::report(
            error, 2, QApplication::arguments().contains(QStringLiteral("--screenshot")));
    }
    const bool windowless = !options.screenshot.isEmpty();
    if (options.modulePath.isEmpty())
        options.modulePath = ShellOptions::defaultModulePath(QApplication::applicationDirPath());

    ShellStartup startup;
    if (!startup.run(options))
        return startup.exitStatus;

    const std::unique_ptr<ModuleLibrary> module = ModuleLibrary::load(options.modulePath, &error);
    if (!module)
        return StartupErrors::report(error, 1, windowless);

    ShellWindow window(startup.session.get(), module.get(), startup.operatorCode);
    window.setConnection(startup.target, options.sqlTrace);
    startup.session.reset(); // the window holds its own reference
    window.show();
    if (options.open)
        window.openModule();
    if (windowless) {
        QTimer::singleShot(1500, &window, [&window, &options] {
            if (window.grab().save(options.screenshot)) {
                QApplication::quit();
                return;
            }
            std::fprintf(stderr, "nelvo-shell: cannot write %s\n", qPrintable(options.screenshot));
            QApplication::exit(1);
        });
    }
    return QApplication::exec();
}
