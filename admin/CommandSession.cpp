#include "CommandSession.h"

#include "AdminOptions.h"
#include "Console.h"

#include <QUrl>

namespace admin {

QString shownDatabase(const QString& database)
{
    if (!server::DataServer::isPostgresUri(database))
        return database;
    QUrl uri(database);
    uri.setPassword(QString());
    return uri.toString();
}

std::unique_ptr<ServerSession> openCommandSession(const AdminOptions& options,
                                                  server::DataServerOptions serverOptions,
                                                  Console& console)
{
    serverOptions.operatorCode = options.operatorCode;
    QString error;
    std::unique_ptr<ServerSession> session =
        ServerSession::open(options.database, serverOptions, error);
    if (!session)
        console.warn(QStringLiteral("nelvo-admin: cannot open %1: %2")
                         .arg(shownDatabase(options.database), error));
    return session;
}

QString trailRowLine(const server::TrailRow& row)
{
    const auto shown = [](const QString& json) {
        return json.isEmpty() ? QStringLiteral("—") : json;
    };
    return QStringLiteral("%1 %2 %3: %4 → %5")
        .arg(row.operation, row.table, row.key, shown(row.before), shown(row.after));
}

} // namespace admin
