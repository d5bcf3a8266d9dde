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
    // Connects, with password (when not empty) passed beside the URI; returns nullptr and
    // sets error (libpq's message) when that fails, and needsPassword (when given) when the
    // server asked for a password that was not at hand. readOnly: every transaction of the
    // session is read-only.
    static std::unique_ptr<PostgresBackend> connect(const QString& uri, const QString& password,
                                                    bool readOnly, QString* error,
                                                    bool* needsPassword = nullptr);
    ~PostgresBackend() override;

    QString name() const override { return QStringLiteral("POSTGRESQL"); }
    bool query(const QString& sql, const QStringList& parameters, platform::DataTable& table,
               QStringList& errors) override;
    bool executeBatch(const QString& text, const BoundStatement* closing,
                      QStringList& errors) override;
    bool initialize(const QString& clerkRole, QStringList& errors) override;
    bool setOperator(const QString& operatorCode, QStringList& errors) override;
    bool begin(QStringList& errors) override;
    bool commit(QStringList& errors) override;
    void rollback() override;
    QString batchTextStatement() const override;
    QString currentBatchQuery() const override;
    QString jsonField(const QString& column, const QString& field) const override;
    bool tableExists(const QString& table, bool& exists, QStringList& errors) override;
    bool mayWritePeriod() override;
    bool executeUnchecked(const QString& text, QStringList& errors) override;

    // The clerk role nelvo-admin init makes when given none.
    static constexpr const char* DefaultClerkRole = "nelvo_clerk";
    bool connectionLost() const override;
    bool lastFailureMayBeRetried() const override;
    bool lastFailureWasMissingRight() const override;

private:
    explicit PostgresBackend(pg_conn* connection) : m_connection(connection) {}
    // The settings every session starts with (again after a reconnect).
    bool applySessionSettings(QStringList& errors);
    // Fills errors from a failed result (or the connection when there is none).
    void describeFailure(pg_result* result, const QString& text, QStringList& errors) const;
    bool runPlain(const char* sql, QStringList& errors);
    // Runs one statement with its parameters bound; false with errors filled.
    bool runBound(const BoundStatement& bound, QStringList& errors);
    void reconnectWhenLost();

    pg_conn* m_connection;
    bool m_readOnly = false;
    QString m_operator;
    // The SQLSTATE of the last failure (describeFailure).
    mutable QByteArray m_lastSqlState;
};

} // namespace server
