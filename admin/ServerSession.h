#pragma once

#include "platform/ClientDataset.h"
#include "platform/Dispatch.h"
#include "server/DataServer.h"

#include <QString>
#include <memory>

namespace admin {

// The tool's connection to the data server: queries and batches go through the same
// dispatch calls the module makes (QueryData, ExecuteBatch), so they take the same path.
class ServerSession {
public:
    // Opens the database (SQLite file or postgresql:// URI) for operatorCode. Returns
    // nullptr with error set when the server cannot be opened.
    static std::unique_ptr<ServerSession> open(const QString& database, const QString& operatorCode,
                                               QString& error);
    // The same with the server's options given (options.ownerBatches is always set: the
    // tool is the administrator's).
    static std::unique_ptr<ServerSession> open(const QString& database,
                                               server::DataServerOptions options, QString& error);

    // Runs a query into rows. False with error (the server's messages joined) on failure.
    bool query(const QString& sql, platform::ClientDataset& rows, QString& error);
    // Runs a batch as one transaction. False with error (the server's messages) on failure.
    bool execute(const QString& batch, QString& error);

    // A session over a server opened elsewhere; shownName names its database in messages.
    explicit ServerSession(platform::DispatchRef<server::DataServer> server,
                           QString shownName = QString());

    server::DataServer* server() const { return m_server.get(); }
    // The database as messages name it (a URI without its password).
    const QString& shownName() const { return m_shownName; }

    // database as it may be shown: a postgresql:// URI loses the password of its user part
    // and any password parameter; a file path stays as it is.
    static QString withoutPassword(const QString& database);

private:
    platform::DispatchRef<server::DataServer> m_server;
    QString m_shownName;
};

} // namespace admin
