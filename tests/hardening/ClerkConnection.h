#pragma once

#include "ScratchDatabase.h"
#include "platform/Dispatch.h"
#include "server/DataServer.h"

#include <QString>
#include <QStringList>

// A database set up by its owner (the schema, and on PostgreSQL the clerk role) and a
// clerk's own connection to it: on PostgreSQL a login role that is a member of the clerk
// role, on SQLite the embedded user, whose batches the server holds to the clerk's rules.
class ClerkConnection {
public:
    ClerkConnection() = default;
    ~ClerkConnection();
    ClerkConnection(const ClerkConnection&) = delete;
    ClerkConnection& operator=(const ClerkConnection&) = delete;

    // Creates the database, runs script as the owner and connects the clerk (operator
    // code clerkOperator); false with error.
    bool create(const QString& backend, const QString& script, const QString& clerkOperator,
                QString& error);
    // One more clerk connection (a second clerk's window); nullptr with error.
    platform::DispatchRef<server::DataServer> connectClerk(const QString& operatorCode,
                                                           QString& error) const;

    server::DataServer& owner() const { return *m_owner.get(); }
    server::DataServer& clerk() const { return *m_clerk.get(); }
    const QString& database() const { return m_database.database(); }
    const QString& clerkDatabase() const { return m_clerkDatabase; }
    bool isPostgres() const { return !m_login.isEmpty(); }

    // The whole database as text, read by the owner: its tables, columns, triggers,
    // functions, constraints and grants, and every row of every table.
    QString dump() const;

private:
    QStringList rows(const QString& sql) const;

    ScratchDatabase m_database;
    QString m_login;
    QString m_clerkDatabase;
    platform::DispatchRef<server::DataServer> m_owner;
    platform::DispatchRef<server::DataServer> m_clerk;
};

// Runs a client batch (ExecuteBatch) or query (QueryData) on server; the server's error
// list, empty when it succeeded.
QStringList runAsClient(server::DataServer& server, const QString& text, bool query = false);
