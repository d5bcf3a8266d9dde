#include "AdminOptions.h"

#include <QCoreApplication>
#include <QHash>
#include <QStandardPaths>

namespace admin {

namespace {

// Takes the value of option at index (inline after "=" or the next argument).
bool takeValue(const QStringList& arguments, qsizetype& index, const QString& option,
               QString& value, QString& error)
{
    const QString& argument = arguments.at(index);
    if (argument.size() > option.size()) { // --name=value
        value = argument.mid(option.size() + 1);
        return true;
    }
    if (index + 1 >= arguments.size()) {
        error = QStringLiteral("%1 needs a value").arg(option);
        return false;
    }
    value = arguments.at(++index);
    return true;
}

bool isOption(const QString& argument, const QString& option)
{
    return argument == option || argument.startsWith(option + QLatin1Char('='));
}

} // namespace

QString AdminOptions::usage()
{
    return QStringLiteral(
        "usage: nelvo-admin [--database PATH|postgresql://...] [--operator CODE] <command>\n"
        "commands:\n"
        "  export areas|storage-areas|mappings [--kind PICK|PUT|MPICK] [--encoding gb18030] "
        "FILE|-\n"
        "  import areas|storage-areas|mappings FILE [--dry-run] [--encoding gb18030]\n"
        "  audit [--since YYYY-MM-DD] [--operator CODE]\n"
        "  carry-forward\n"
        "  init [--clerk-role NAME]\n"
        "  history [--since YYYY-MM-DD] [--until YYYY-MM-DD] [--operator CODE] [--area CODE]\n"
        "          [--storage-area CODE] [--limit N]\n"
        "  restore BATCH_ID [--dry-run] [--force]\n"
        "exit status: 0 success, 1 bad rows or refusal, 2 usage or connection error");
}

QString AdminOptions::defaultDatabasePath()
{
    // The shell's own rule: its data folder (organization "nelvo", application
    // "nelvo-shell"), file demo.sqlite.
    const QString application = QCoreApplication::applicationName();
    const QString organization = QCoreApplication::organizationName();
    QCoreApplication::setApplicationName(QStringLiteral("nelvo-shell"));
    QCoreApplication::setOrganizationName(QStringLiteral("nelvo"));
    const QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                         QStringLiteral("/demo.sqlite");
    QCoreApplication::setApplicationName(application);
    QCoreApplication::setOrganizationName(organization);
    return path;
}

bool AdminOptions::parse(const QStringList& arguments, AdminOptions& options, QString& error)
{
    qsizetype index = 1;
    // The session's options, up to the command word.
    for (; index < arguments.size() && arguments.at(index).startsWith(QLatin1String("--"));
         ++index) {
        const QString& argument = arguments.at(index);
        if (argument == QLatin1String("--help")) {
            options.command = Command::Help;
            return true;
        }
        QString* target = isOption(argument, QStringLiteral("--database"))   ? &options.database
                          : isOption(argument, QStringLiteral("--operator")) ? &options.operatorCode
                                                                             : nullptr;
        if (!target) {
            error = QStringLiteral("unknown option %1").arg(argument);
            return false;
        }
        if (!takeValue(arguments, index, argument.section(QLatin1Char('='), 0, 0), *target, error))
            return false;
    }
    if (index >= arguments.size()) {
        error = QStringLiteral("no command given");
        return false;
    }
    const QString command = arguments.at(index++);
    static const QHash<QString, Command> ownParsing = {
        {QStringLiteral("init"), Command::Init},
        {QStringLiteral("history"), Command::History},
        {QStringLiteral("restore"), Command::Restore}};
    if (ownParsing.contains(command)) {
        options.command = ownParsing.value(command);
        options.commandWords = arguments.mid(index);
        options.defaultDatabase = options.database.isEmpty();
        if (options.defaultDatabase)
            options.database = defaultDatabasePath();
        return true;
    }

    // The command's options and words.
    QStringList words;
    QStringList given;
    QString encodingName;
    QString since;
    for (; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (!argument.startsWith(QLatin1String("--")) || argument == QLatin1String("--")) {
            if (argument == QLatin1String("--"))
                words << arguments.mid(index + 1);
            else
                words << argument;
            if (argument == QLatin1String("--"))
                break;
            continue;
        }
        if (argument == QLatin1String("--help")) {
            options.command = Command::Help;
            return true;
        }
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        QString* target = name == QLatin1String("--kind")       ? &options.kind
                          : name == QLatin1String("--encoding") ? &encodingName
                          : name == QLatin1String("--since")    ? &since
                          : name == QLatin1String("--operator") ? &options.auditOperator
                                                                : nullptr;
        if (name == QLatin1String("--dry-run") && argument == name) {
            options.dryRun = true;
        } else if (!target) {
            error = QStringLiteral("unknown option %1").arg(argument);
            return false;
        } else if (!takeValue(arguments, index, name, *target, error)) {
            return false;
        }
        given << name;
    }

    const auto allow = [&given, &error, &command](const QStringList& allowed) {
        for (const QString& name : given) {
            if (!allowed.contains(name)) {
                error = QStringLiteral("%1 does not take %2").arg(command, name);
                return false;
            }
        }
        return true;
    };
    if (command == QLatin1String("export") || command == QLatin1String("import")) {
        const bool isExport = command == QLatin1String("export");
        options.command = isExport ? Command::Export : Command::Import;
        if (!allow(isExport
                       ? QStringList{QStringLiteral("--kind"), QStringLiteral("--encoding")}
                       : QStringList{QStringLiteral("--dry-run"), QStringLiteral("--encoding")}))
            return false;
        if (words.size() != 2) {
            error = QStringLiteral("%1 takes a table and a file").arg(command);
            return false;
        }
        const std::optional<AdminTable> table = adminTableFromWord(words.at(0));
        if (!table) {
            error = QStringLiteral("unknown table %1 (areas, storage-areas, mappings)")
                        .arg(words.at(0));
            return false;
        }
        options.table = *table;
        options.file = words.at(1);
        if (!isExport && options.file == QLatin1String("-")) {
            error = QStringLiteral("import reads a file, not standard input");
            return false;
        }
        if (given.contains(QStringLiteral("--kind"))) {
            if (!areaKindKeys().contains(options.kind)) {
                error = QStringLiteral("unknown kind %1 (PICK, PUT, MPICK)").arg(options.kind);
                return false;
            }
            if (options.table == AdminTable::StorageAreas) {
                error = QStringLiteral("storage areas have no kind");
                return false;
            }
        }
        if (given.contains(QStringLiteral("--encoding"))) {
            const std::optional<TextEncoding> encoding = TextEncoding::fromName(encodingName);
            if (!encoding) {
                error = QStringLiteral("unknown encoding %1 (utf-8, gb18030)").arg(encodingName);
                return false;
            }
            options.encoding = *encoding;
        }
    } else if (command == QLatin1String("audit")) {
        options.command = Command::Audit;
        if (!allow({QStringLiteral("--since"), QStringLiteral("--operator")}))
            return false;
        if (given.contains(QStringLiteral("--since"))) {
            options.since = QDate::fromString(since, QStringLiteral("yyyy-MM-dd"));
            if (!options.since.isValid()) {
                error = QStringLiteral("--since needs a date YYYY-MM-DD, not %1").arg(since);
                return false;
            }
        }
    } else if (command == QLatin1String("carry-forward")) {
        options.command = Command::CarryForward;
        if (!allow({}))
            return false;
    } else if (command == QLatin1String("help")) {
        options.command = Command::Help;
        return true;
    } else {
        error = QStringLiteral("unknown command %1").arg(command);
        return false;
    }
    if (options.command == Command::Audit || options.command == Command::CarryForward) {
        if (!words.isEmpty()) {
            error = QStringLiteral("unexpected argument %1").arg(words.first());
            return false;
        }
    }
    options.defaultDatabase = options.database.isEmpty();
    if (options.defaultDatabase)
        options.database = defaultDatabasePath();
    return true;
}

} // namespace admin
