#include "RestoreCommand.h"

#include "AdminOptions.h"
#include "CommandSession.h"
#include "Console.h"
#include "ExitStatus.h"

namespace admin {

int RestoreCommand::run(const AdminOptions& options, Console& console)
{
    bool dryRun = false;
    bool force = false;
    qint64 batchId = 0;
    for (const QString& word : options.commandWords) {
        bool number = false;
        const qint64 id = word.toLongLong(&number);
        if (word == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (word == QLatin1String("--force")) {
            force = true;
        } else if (number && id > 0 && batchId == 0) {
            batchId = id;
        } else {
            console.warn(QStringLiteral("nelvo-admin: restore does not take %1").arg(word));
            console.warn(AdminOptions::usage());
            return ExitUsage;
        }
    }
    if (batchId == 0) {
        console.warn(QStringLiteral("nelvo-admin: restore needs a batch id (see history)"));
        console.warn(AdminOptions::usage());
        return ExitUsage;
    }
    const std::unique_ptr<ServerSession> session =
        openCommandSession(options, server::DataServerOptions{}, console);
    if (!session)
        return ExitUsage;

    server::RestoreOutcome outcome;
    QString error;
    const bool ok = session->server()->restoreBatch(batchId, dryRun, force, outcome, &error);
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
                      .arg(shownDatabase(options.database))
                      .arg(batchId)
                      .arg(outcome.planned.size())
                      .arg(outcome.restoreBatchId));
    return ExitSuccess;
}

} // namespace admin
