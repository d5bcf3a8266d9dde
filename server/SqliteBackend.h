#pragma once

#include "Backend.h"

#include <memory>

struct sqlite3;

namespace server {

// A SQLite database file: WAL journal, foreign keys enforced, and a busy timeout so that a
// second process on the same file waits for a lock instead of failing at once. Registers
// nelvo_operator() and nelvo_txn(), which the trail's triggers read.
class SqliteBackend : public Backend {
public:
    enum class Mode { Open, Create, ReadOnly };
    // Opens the database file (Create: created when missing; ReadOnly: nothing is written,
    // not even the journal mode). Returns nullptr and sets error when it cannot be opened.
    static std::unique_ptr<SqliteBackend> open(const QString& path, Mode mode, QString* error);
    ~SqliteBackend() override;

    QString name() const override { return QStringLiteral("SQLITE"); }
    bool query(const QString& sql, const QStringList& parameters, platform::DataTable& table,
               QStringList& errors) override;
    // Writes the packet from SQLite's own UTF-8 texts, with no table in between.
    bool queryPacket(const QString& sql, const QStringList& parameters, QByteArray& packet,
                     QStringList& errors) override;
    bool executeBatch(const QString& text, const BoundStatement* closing,
                      QStringList& errors) override;
    bool initialize(const QString& clerkRole, QStringList& errors) override;
    bool setOperator(const QString& operatorCode, QStringList& errors) override;
    void setClientRules(bool on) override { m_clientRules = on; }
    bool begin(QStringList& errors) override;
    bool commit(QStringList& errors) override;
    void rollback() override;
    QString batchTextStatement() const override;
    QString currentBatchQuery() const override;
    QString jsonField(const QString& column, const QString& field) const override;
    bool tableExists(const QString& table, bool& exists, QStringList& errors) override;
    bool executeUnchecked(const QString& text, QStringList& errors) override;

    // What the authorizer refused last (empty: nothing).
    const QString& refusal() const { return m_refusal; }

    // How long a statement waits for another connection's lock.
    static constexpr int BusyTimeoutMilliseconds = 10000;

private:
    explicit SqliteBackend(sqlite3* db) : m_db(db) {}
    static int authorize(void* backend, int action, const char* first, const char* second,
                         const char* database, const char* trigger);
    // The reason a client may not run action (empty: allowed).
    QString clientRefusal(int action, const char* first, const char* second) const;
    void registerFunctions();
    bool runScript(const QString& resource, QStringList& errors);
    bool hasColumn(const char* table, const char* column, QStringList& errors, bool& has);
    // Steps through the statements of sql (parameters bound to the only one) and hands the
    // last statement's rows to readRows(statement) as it runs; false with errors filled.
    template <typename RowReader>
    bool runQuery(const QString& sql, const QStringList& parameters, QStringList& errors,
                  RowReader readRows);
    QString lastMessage() const;
    bool runPlain(const char* sql, QStringList& errors);
    // Runs one statement with its parameters bound; false with errors filled.
    bool runBound(const BoundStatement& bound, QStringList& errors);
    // Rolls back an open transaction and answers false.
    bool rollbackAfterFailure();

    sqlite3* m_db;
    bool m_clientRules = false;
    QString m_refusal;
    QByteArray m_operator;
    QByteArray m_transaction; // unique to the open transaction: the trail's batch key
};

} // namespace server
