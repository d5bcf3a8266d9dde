#pragma once

#include "Backend.h"

#include <memory>

struct pg_conn;
struct pg_result;

namespace server {

// A PostgreSQL server reached by a libpq connection URI (postgresql://...). Unquoted names
// fold to lower case, so the module's varying spellings of a table resolve to one table.
class PostgresBackend : public Backend {
public:
    // Connects; returns nullptr and sets error (libpq's message) when that fails.
    static std::unique_ptr<PostgresBackend> connect(const QString& uri, QString* error);
    ~PostgresBackend() override;

    QString name() const override { return QStringLiteral("POSTGRESQL"); }
    bool query(const QString& sql, const QStringList& parameters, platform::DataTable& table,
               QStringList& errors) override;
    bool executeBatch(const QString& text, const BoundStatement* closing,
                      QStringList& errors) override;
    QString schemaScript() const override;
    bool connectionLost() const override;

private:
    explicit PostgresBackend(pg_conn* connection) : m_connection(connection) {}
    // Fills errors from a failed result (or the connection when there is none).
    void describeFailure(pg_result* result, const QString& text, QStringList& errors) const;
    bool runPlain(const char* sql, QStringList& errors);
    // Runs one statement with its parameters bound; false with errors filled.
    bool runBound(const BoundStatement& bound, QStringList& errors);
    void reconnectWhenLost();

    pg_conn* m_connection;
};

} // namespace server
