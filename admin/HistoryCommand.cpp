#include "HistoryCommand.h"

#include "AdminOptions.h"
#include "Console.h"
#include "ExitStatus.h"
#include "ServerSession.h"
#include "TrailLines.h"

namespace admin {

int HistoryCommand::run(const AdminOptions& options, ServerSession& session, Console& console)
{
    server::TrailFilter filter;
    filter.since = options.since;
    filter.until = options.until;
    filter.operatorCode = options.operatorCode;
    filter.areaCode = options.areaCode;
    filter.storageAreaCode = options.storageCode;
    filter.limit = options.limit;
    QString error;
    QList<server::TrailBatch> batches;
    if (!session.server()->trail(filter, batches, &error)) {
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
