#pragma once

#include "platform/Dispatch.h"
#include "platform/Variant.h"
#include "server/DataServer.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh, empty database for one test, on SQLite (a file in a temporary folder) or on
// PostgreSQL (a schema of its own in the server named by NELVO_TEST_PG_URI, dropped
// afterwards, so suites can share the server at the same time).
class ServerFixture {
public:
    static constexpr const char* Sqlite = "sqlite";
    static constexpr const char* Postgres = "postgresql";

    // Why the backend cannot be tested here (empty when it can).
    static QString unavailableReason(const QString& backend);

    ~ServerFixture();

    // Creates the database and opens a server on it; false with error on failure.
    bool open(const QString& backend, const server::DataServerOptions& options, QString& error);
    // The database text the server was opened with (file path or URI).
    const QString& database() const { return m_database; }
    server::DataServer* server() const { return m_server.get(); }

private:
    QTemporaryDir m_folder;
    QString m_schema;
    QString m_database;
    platform::DispatchRef<server::DataServer> m_server;
};

// One call of a dispatch id through invoke, as the module makes it.
struct ServerCall {
    static bool queryData(server::DataServer* server, const QString& sql, platform::Variant& data);
    static bool executeBatch(server::DataServer* server, const QString& batch,
                             platform::Variant* payload = nullptr);
    // Calls an id whose one argument is a by-ref value; answers the call's result.
    static platform::Variant byRefCall(server::DataServer* server, int32_t id,
                                       platform::Variant& value);
};
