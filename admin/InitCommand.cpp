#include "InitCommand.h"

#include "AdminOptions.h"
#include "CommandSession.h"
#include "Console.h"
#include "ExitStatus.h"

namespace admin {

int InitCommand::run(const AdminOptions& options, Console& console)
{
    server::DataServerOptions serverOptions;
    serverOptions.createSchema = true;
    const QStringList& words = options.commandWords;
    for (qsizetype index = 0; index < words.size(); ++index) {
        if (words[index] == QLatin1String("--clerk-role") && index + 1 < words.size()) {
            serverOptions.clerkRole = words[++index];
        } else if (words[index].startsWith(QLatin1String("--clerk-role="))) {
            serverOptions.clerkRole = words[index].section(QLatin1Char('='), 1);
        } else {
            console.warn(QStringLiteral("nelvo-admin: init does not take %1").arg(words[index]));
            console.warn(AdminOptions::usage());
            return ExitUsage;
        }
    }
    const std::unique_ptr<ServerSession> session =
        openCommandSession(options, serverOptions, console);
    if (!session)
        return ExitUsage;
    QStringList orphans;
    QString error;
    if (!session->server()->orphanMappings(orphans, &error)) {
        console.warn(QStringLiteral("nelvo-admin: cannot look for orphan mappings: %1").arg(error));
        return ExitRefused;
    }
    for (const QString& orphan : std::as_const(orphans))
        console.warn(QStringLiteral("orphan mapping %1 (kind/area/storage area): its area or "
                                    "storage area does not exist; kept, but no new row may do so")
                         .arg(orphan));
    const bool postgres = session->server()->databaseType() == QLatin1String("POSTGRESQL");
    console.print(QStringLiteral("%1: schema version %2 ready%3, %4 orphan mapping(s)")
                      .arg(shownDatabase(options.database))
                      .arg(server::DataServer::SchemaVersion)
                      .arg(postgres ? QStringLiteral(", clerk role %1").arg(serverOptions.clerkRole)
                                    : QString())
                      .arg(orphans.size()));
    return ExitSuccess;
}

} // namespace admin
