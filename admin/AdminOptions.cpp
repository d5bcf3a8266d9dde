#include "AdminOptions.h"

#include <QCoreApplication>
#include <QHash>
#include <QStandardPaths>

namespace admin {

namespace {

// The options the tool knows, whether each takes a value.
struct OptionRule {
    const char* name;
    bool takesValue;
};
constexpr OptionRule Options[] = {
    {"--database", true},   {"--operator", true}, {"--kind", true},         {"--encoding", true},
    {"--since", true},      {"--dry-run", false}, {"--force", false},       {"--strict", false},
    {"--until", true},      {"--area", true},     {"--storage-area", true}, {"--limit", true},
    {"--clerk-role", true},
};

// The commands: the options each takes (besides --database), its words, and what it does
// to databases. A new command is one row here and one case in AdminTool.
struct CommandRule {
    const char* name;
    AdminOptions::Command command;
    QStringList options;
    int words;            // how many words follow the command: 0, 1 (a batch id) or 2
                          // (a table and a file)
    bool changesData;     // needs --operator, an employee (an import's --dry-run does not)
    bool createsDatabase; // may name a database that does not exist yet
};

const QList<CommandRule>& commands()
{
    using Command = AdminOptions::Command;
    static const QList<CommandRule> table{
        {"export", Command::Export, {"--kind", "--encoding", "--strict"}, 2, false, false},
        {"import", Command::Import, {"--dry-run", "--encoding", "--operator"}, 2, true, false},
        {"audit", Command::Audit, {"--since", "--operator"}, 0, false, false},
        {"carry-forward", Command::CarryForward, {"--operator", "--force"}, 0, true, false},
        {"init", Command::Init, {"--clerk-role"}, 0, false, true},
        {"history",
         Command::History,
         {"--since", "--until", "--operator", "--area", "--storage-area", "--limit"},
         0,
         false,
         false},
        {"restore", Command::Restore, {"--dry-run", "--force", "--operator"}, 1, true, false},
    };
    return table;
}

const OptionRule* findOption(const QString& name)
{
    for (const OptionRule& option : Options) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

// Splits arguments into words and options (name -> value, "" for a flag). "-" is a word
// (standard output); "--" ends the options.
bool splitArguments(const QStringList& arguments, QStringList& words,
                    QHash<QString, QString>& given, bool& help, QString& error)
{
    bool optionsEnded = false;
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (optionsEnded || argument == QLatin1String("-") || !argument.startsWith(u'-')) {
            words << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            help = true;
            continue;
        }
        const QString name = argument.section(u'=', 0, 0);
        const OptionRule* option = findOption(name);
        if (!option) {
            error = QStringLiteral("unknown option %1").arg(argument);
            return false;
        }
        if (given.contains(name)) {
            error = QStringLiteral("%1 is given twice").arg(name);
            return false;
        }
        QString value;
        if (!option->takesValue) {
            if (argument != name) {
                error = QStringLiteral("%1 takes no value").arg(name);
                return false;
            }
        } else if (argument != name) {
            value = argument.mid(name.size() + 1);
        } else if (index + 1 < arguments.size()) {
            value = arguments.at(++index);
        } else {
            error = QStringLiteral("%1 needs a value").arg(name);
            return false;
        }
        if (option->takesValue && value.isEmpty()) {
            error = QStringLiteral("%1 needs a value, not an empty text").arg(name);
            return false;
        }
        given.insert(name, value);
    }
    return true;
}

// Reads the words and options of an export or import into options.
bool parseTableAndFile(const QString& command, const QStringList& words,
                       const QHash<QString, QString>& given, AdminOptions& options, QString& error)
{
    if (words.size() != 2) {
        error = QStringLiteral("%1 takes a table and a file").arg(command);
        return false;
    }
    const std::optional<AdminTable> table = adminTableFromWord(words.at(0));
    if (!table) {
        error =
            QStringLiteral("unknown table %1 (areas, storage-areas, mappings)").arg(words.at(0));
        return false;
    }
    options.table = *table;
    options.file = words.at(1);
    if (options.file.isEmpty()) {
        error = QStringLiteral("the file name is empty");
        return false;
    }
    if (options.command == AdminOptions::Command::Import && options.file == QLatin1String("-")) {
        error = QStringLiteral("import reads a file, not standard input");
        return false;
    }
    if (given.contains(QStringLiteral("--kind"))) {
        options.kind = given.value(QStringLiteral("--kind"));
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
        const QString name = given.value(QStringLiteral("--encoding"));
        const std::optional<TextEncoding> encoding = TextEncoding::fromName(name);
        if (!encoding) {
            error = QStringLiteral("unknown encoding %1 (utf-8, gb18030)").arg(name);
            return false;
        }
        options.encoding = *encoding;
    }
    return true;
}

// Reads the one word of restore: a batch id of the trail.
bool parseBatchId(const QString& command, const QStringList& words, AdminOptions& options,
                  QString& error)
{
    bool number = false;
    options.batchId = words.size() == 1 ? words.first().toLongLong(&number) : 0;
    if (!number || options.batchId <= 0) {
        error = QStringLiteral("%1 takes one batch id (a number that history shows)").arg(command);
        return false;
    }
    return true;
}

// Reads the day of option name when it was given.
bool parseDay(const QHash<QString, QString>& given, const QString& name, QDate& day, QString& error)
{
    if (!given.contains(name))
        return true;
    const QString value = given.value(name);
    day = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        error = QStringLiteral("%1 needs a date YYYY-MM-DD, not %2").arg(name, value);
    return day.isValid();
}

bool parseLimit(const QHash<QString, QString>& given, int& limit, QString& error)
{
    if (!given.contains(QStringLiteral("--limit")))
        return true;
    bool number = false;
    limit = given.value(QStringLiteral("--limit")).toInt(&number);
    if (!number || limit <= 0) {
        error = QStringLiteral("--limit needs a positive number, not %1")
                    .arg(given.value(QStringLiteral("--limit")));
        return false;
    }
    return true;
}

} // namespace

QString AdminOptions::usage()
{
    return QStringLiteral(
        "usage: nelvo-admin [--database PATH|postgresql://...] <command> [options]\n"
        "commands (options may stand before or after the command):\n"
        "  export areas|storage-areas|mappings FILE|- [--kind PICK|PUT|MPICK] "
        "[--encoding gb18030] [--strict]\n"
        "  import areas|storage-areas|mappings FILE --operator CODE [--encoding gb18030]\n"
        "  import areas|storage-areas|mappings FILE --dry-run [--encoding gb18030]\n"
        "  audit [--since YYYY-MM-DD] [--operator CODE]\n"
        "  carry-forward --operator CODE [--force]\n"
        "  init [--clerk-role NAME]\n"
        "  history [--since YYYY-MM-DD] [--until YYYY-MM-DD] [--operator CODE] [--area CODE]\n"
        "          [--storage-area CODE] [--limit N]\n"
        "  restore BATCH_ID --operator CODE [--force]\n"
        "  restore BATCH_ID --dry-run\n"
        "  --version\n"
        "--operator names the employee who makes a change (for audit and history: whose\n"
        "changes to show)\n"
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
    QStringList words;
    QHash<QString, QString> given;
    bool help = false;
    if (!splitArguments(arguments, words, given, help, error))
        return false;
    if (help || words.value(0) == QLatin1String("help")) {
        options.command = Command::Help;
        return true;
    }
    if (words.isEmpty()) {
        error = QStringLiteral("no command given");
        return false;
    }
    const QString command = words.takeFirst();
    const auto rule = std::find_if(commands().cbegin(), commands().cend(),
                                   [&command](const CommandRule& candidate) {
                                       return command == QLatin1String(candidate.name);
                                   });
    if (rule == commands().cend()) {
        error = QStringLiteral("unknown command %1").arg(command);
        return false;
    }
    for (auto option = given.cbegin(); option != given.cend(); ++option) {
        if (option.key() != QLatin1String("--database") && !rule->options.contains(option.key())) {
            error = QStringLiteral("%1 does not take %2").arg(command, option.key());
            return false;
        }
    }
    options.command = rule->command;
    options.createsDatabase = rule->createsDatabase;
    options.operatorCode = given.value(QStringLiteral("--operator"));
    options.dryRun = given.contains(QStringLiteral("--dry-run"));
    options.force = given.contains(QStringLiteral("--force"));
    options.strict = given.contains(QStringLiteral("--strict"));
    options.changesData = rule->changesData && !options.dryRun;
    if (rule->words == 2) {
        if (!parseTableAndFile(command, words, given, options, error))
            return false;
    } else if (rule->words == 1) {
        if (!parseBatchId(command, words, options, error))
            return false;
    } else if (!words.isEmpty()) {
        error = QStringLiteral("unexpected argument %1").arg(words.first());
        return false;
    }
    if (!parseDay(given, QStringLiteral("--since"), options.since, error) ||
        !parseDay(given, QStringLiteral("--until"), options.until, error) ||
        !parseLimit(given, options.limit, error))
        return false;
    options.areaCode = given.value(QStringLiteral("--area"));
    options.storageCode = given.value(QStringLiteral("--storage-area"));
    options.clerkRole = given.value(QStringLiteral("--clerk-role"));
    if (options.changesData && options.operatorCode.isEmpty()) {
        error = QStringLiteral("%1 changes data: give --operator CODE, the employee who makes "
                               "the change")
                    .arg(command);
        return false;
    }
    options.database = given.value(QStringLiteral("--database"));
    options.defaultDatabase = !given.contains(QStringLiteral("--database"));
    if (options.defaultDatabase)
        options.database = defaultDatabasePath();
    return true;
}

} // namespace admin
