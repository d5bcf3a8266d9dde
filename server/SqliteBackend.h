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
    bool executeBatch(const QString& text, const BoundStatement* closing,
                      QStringList& errors) override;
    QString schemaScript() const override;

    // How long a statement waits for another connection's lock.
    static constexpr int BusyTimeoutMilliseconds = 10000;

private:
    explicit SqliteBackend(sqlite3* db) : m_db(db) {}
    QString lastMessage() const;
    bool runPlain(const char* sql, QStringList& errors);
    // Runs one statement with its parameters bound; false with errors filled.
    bool runBound(const BoundStatement& bound, QStringList& errors);
    // Rolls back an open transaction and answers false.
    bool rollbackAfterFailure();

    sqlite3* m_db;
};

} // namespace server
