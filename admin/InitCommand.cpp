#include "InitCommand.h"

#include "AdminOptions.h"
#include "Console.h"
#include "ExitStatus.h"
#include "ServerSession.h"

namespace admin {

int InitCommand::run(const AdminOptions& options, ServerSession& session, Console& console)
{
    // Opening the session with createSchema has made or upgraded the schema.
    QStringList orphans;
    QString error;
    if (!session.server()->orphanMappings(orphans, &error)) {
        console.warn(QStringLiteral("nelvo-admin: cannot look for orphan mappings: %1").arg(error));
        return ExitRefused;
    }
    for (const QString& orphan : std::as_const(orphans))
        console.warn(QStringLiteral("orphan mapping %1 (kind/area/storage area): its area or "
                                    "storage area does not exist; kept, but no new row may do so")
                         .arg(orphan));
    const bool postgres = session.server()->databaseType() == QLatin1String("POSTGRESQL");
    const QString clerkRole =
        options.clerkRole.isEmpty() ? server::DataServerOptions().clerkRole : options.clerkRole;
    console.print(QStringLiteral("%1: schema version %2 ready%3, %4 orphan mapping(s)")
                      .arg(session.shownName())
                      .arg(server::DataServer::SchemaVersion)
                      .arg(postgres ? QStringLiteral(", clerk role %1").arg(clerkRole) : QString())
                      .arg(orphans.size()));
    return ExitSuccess;
}

} // namespace admin
