#include "ShellOptions.h"

#include "NelvoBuildInfo.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool ShellOptions::parse(const QStringList& arguments, ShellOptions& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs the area module in a stand-in shell."));
    parser.addHelpOption();
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("SQLite database file, or a postgresql:// connection URI."),
        QStringLiteral("PATH|URI"));
    const QCommandLineOption operatorCode(
        QStringLiteral("operator"),
        QStringLiteral("Employee code of the operator (default: log in)."), QStringLiteral("CODE"));
    const QCommandLineOption module(QStringLiteral("module"),
                                    QStringLiteral("Path of the module library."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Recreate the demo data in the database."));
    const QCommandLineOption trace(QStringLiteral("sql-trace"),
                                   QStringLiteral("Append every SQL text sent to FILE."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("Open the area module at start."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window to FILE shortly after start, then quit."),
        QStringLiteral("FILE"));
    // main() answers --version before Qt starts; listed here so the help shows it.
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit."));
    parser.addOptions({database, operatorCode, module, demo, trace, open, screenshot, version});
    if (!parser.parse(arguments)) {
        error = parser.errorText() + QLatin1Char('\n') + parser.helpText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        options.help = true;
        error = parser.helpText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("多余的参数：%1\n%2")
                    .arg(parser.positionalArguments().first(), parser.helpText());
        return false;
    }
    options.database = parser.value(database);
    if (parser.isSet(database) && options.database.isEmpty()) {
        error = QStringLiteral("--database 的值不能为空。\n%1").arg(parser.helpText());
        return false;
    }
    options.defaultDatabase = !parser.isSet(database);
    if (options.defaultDatabase)
        options.database = defaultDatabasePath();
    options.operatorCode = parser.value(operatorCode);
    options.modulePath = parser.value(module);
    options.demo = parser.isSet(demo);
    options.sqlTrace = parser.value(trace);
    options.open = parser.isSet(open);
    options.screenshot = parser.value(screenshot);
    return true;
}

QString ShellOptions::defaultModulePath(const QString& applicationDirectory)
{
    const QString installed = QDir::cleanPath(
        applicationDirectory + u'/' + QLatin1String(nelvo::installedModuleFromProgramFolder));
    if (QFileInfo::exists(installed))
        return installed;
    return QDir::cleanPath(applicationDirectory + QStringLiteral("/../lib/libnelvo_area.so"));
}

QString ShellOptions::defaultDatabasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/demo.sqlite");
}
