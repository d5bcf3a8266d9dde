#pragma once

#include "Backend.h"

#include <memory>

struct sqlite3;

namespace server {

// A SQLite database file: WAL journal, and a busy timeout so that a second process on the
// same file waits for a lock instead of failing at once.
class SqliteBackend : public Backend {
public:
    // Opens (creating when missing) the database file. Returns nullptr and sets error when
    // the file cannot be opened.
    static std::unique_ptr<SqliteBackend> open(const QString& path, QString* error);
    ~SqliteBackend() override;

    QString name() const override { return QStringLiteral("SQLITE"); }
    bool query(const QString& sql, const QStringList& parameters, platform::DataTable& table,
               QStringList& errors) override;
    // Writes the packet from SQLite's own UTF-8 texts, with no table in between.
    bool queryPacket(const QString& sql, const QStringList& parameters, QByteArray& packet,
                     QStringList& errors) override;
    bool executeBatch(const QString& text, const BoundStatement* closing,
                      QStringList& errors) override;
    QString schemaScript() const override;

    // How long a statement waits for another connection's lock.
    static constexpr int BusyTimeoutMilliseconds = 10000;

private:
    explicit SqliteBackend(sqlite3* db) : m_db(db) {}
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
};

} // namespace server
