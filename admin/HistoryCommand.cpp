#include "HistoryCommand.h"

#include "AdminOptions.h"
#include "CommandSession.h"
#include "Console.h"
#include "ExitStatus.h"

namespace admin {

namespace {

// Reads the filter from words; false with error for unknown or bad options.
bool parseFilter(const QStringList& words, server::TrailFilter& filter, QString& error)
{
    for (qsizetype index = 0; index < words.size(); ++index) {
        QString name = words[index];
        QString value;
        if (name.contains(QLatin1Char('='))) {
            value = name.section(QLatin1Char('='), 1);
            name = name.section(QLatin1Char('='), 0, 0);
        } else if (index + 1 < words.size()) {
            value = words[++index];
        } else {
            error = QStringLiteral("%1 needs a value").arg(name);
            return false;
        }
        const auto day = [&value, &name, &error](QDate& target) {
            target = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
            if (!target.isValid())
                error = QStringLiteral("%1 needs a date YYYY-MM-DD, not %2").arg(name, value);
            return target.isValid();
        };
        if (name == QLatin1String("--since")) {
            if (!day(filter.since))
                return false;
        } else if (name == QLatin1String("--until")) {
            if (!day(filter.until))
                return false;
        } else if (name == QLatin1String("--operator")) {
            filter.operatorCode = value;
        } else if (name == QLatin1String("--area")) {
            filter.areaCode = value;
        } else if (name == QLatin1String("--storage-area")) {
            filter.storageAreaCode = value;
        } else if (name == QLatin1String("--limit")) {
            bool ok = false;
            filter.limit = value.toInt(&ok);
            if (!ok || filter.limit <= 0) {
                error = QStringLiteral("--limit needs a positive number, not %1").arg(value);
                return false;
            }
        } else {
            error = QStringLiteral("history does not take %1").arg(name);
            return false;
        }
    }
    return true;
}

} // namespace

int HistoryCommand::run(const AdminOptions& options, Console& console)
{
    server::TrailFilter filter;
    QString error;
    if (!parseFilter(options.commandWords, filter, error)) {
        console.warn(QStringLiteral("nelvo-admin: %1").arg(error));
        console.warn(AdminOptions::usage());
        return ExitUsage;
    }
    server::DataServerOptions serverOptions;
    serverOptions.readOnly = true;
    const std::unique_ptr<ServerSession> session =
        openCommandSession(options, serverOptions, console);
    if (!session)
        return ExitUsage;
    QList<server::TrailBatch> batches;
    if (!session->server()->trail(filter, batches, &error)) {
        console.warn(QStringLiteral("nelvo-admin: cannot read the trail: %1").arg(error));
        return ExitUsage;
    }
    for (const server::TrailBatch& batch : std::as_const(batches)) {
        console.print(QStringLiteral("#%1 %2 operator %3 (%4 row(s))")
                          .arg(batch.id)
                          .arg(batch.time, batch.operatorCode)
                          .arg(batch.rows.size()));
        for (const QString& line : batch.text.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                console.print(QStringLiteral("    | ") + line);
        for (const server::TrailRow& row : batch.rows)
            console.print(QStringLiteral("    ") + trailRowLine(row));
    }
    return ExitSuccess;
}

} // namespace admin
