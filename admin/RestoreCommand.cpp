#include "RestoreCommand.h"

#include "AdminOptions.h"
#include "Console.h"
#include "ExitStatus.h"
#include "ServerSession.h"
#include "TrailLines.h"

namespace admin {

int RestoreCommand::run(const AdminOptions& options, ServerSession& session, Console& console)
{
    const bool dryRun = options.dryRun;
    const bool force = options.force;
    const qint64 batchId = options.batchId;
    server::RestoreOutcome outcome;
    QString error;
    const bool ok = session.server()->restoreBatch(batchId, dryRun, force, outcome, &error);
    if (!error.isEmpty()) {
        console.warn(
            QStringLiteral("nelvo-admin: cannot restore batch %1: %2").arg(batchId).arg(error));
        return ExitRefused;
    }
    for (const QString& conflict : std::as_const(outcome.conflicts))
        console.warn(QStringLiteral("changed since: %1").arg(conflict));
    if (dryRun || !ok) {
        console.print(QStringLiteral("restoring batch %1 would do:").arg(batchId));
        for (const server::TrailRow& row : std::as_const(outcome.planned))
            console.print(QStringLiteral("    ") + trailRowLine(row));
    }
    if (!ok) {
        console.warn(QStringLiteral("restore of batch %1 refused: %2 row(s) changed since; "
                                    "nothing changed (--force puts them back anyway)")
                         .arg(batchId)
                         .arg(outcome.conflicts.size()));
        return ExitRefused;
    }
    if (dryRun) {
        console.print(QStringLiteral("dry run: nothing changed"));
        return ExitSuccess;
    }
    console.print(QStringLiteral("%1: restored batch %2 (%3 row(s)), recorded as batch %4")
                      .arg(session.shownName())
                      .arg(batchId)
                      .arg(outcome.planned.size())
                      .arg(outcome.restoreBatchId));
    return ExitSuccess;
}

} // namespace admin
