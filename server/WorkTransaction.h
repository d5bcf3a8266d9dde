#pragma once

#include "platform/DataPacket.h"

#include <QString>
#include <QStringList>

namespace server {

class Backend;

// A transaction held open over several calls, for work that reads the database in steps
// and writes as it goes (an import checks each part of a file, then adds it). With locked
// tables, no other connection can change them until the transaction ends (SQLite: BEGIN
// IMMEDIATE, which locks the whole file; PostgreSQL: the tables locked in SHARE ROW
// EXCLUSIVE mode, which lets others read), so what the work read stays true until commit.
// Ending without commit() rolls everything back. Made by DataServer::beginWork().
class WorkTransaction {
public:
    ~WorkTransaction();
    WorkTransaction(const WorkTransaction&) = delete;
    WorkTransaction& operator=(const WorkTransaction&) = delete;

    // Runs a query text; the rows of its last statement. False with error on failure.
    bool query(const QString& sql, platform::DataTable& rows, QString* error = nullptr);
    // Runs statements that change data inside this transaction; the database's triggers
    // record the rows they change. False with error on failure.
    bool execute(const QString& text, QString* error = nullptr);
    // Records description as the text of the transaction's trail batch, then commits.
    // False with error when that failed (then nothing was changed).
    bool commit(const QString& description, QString* error = nullptr);

private:
    friend class DataServer;
    explicit WorkTransaction(Backend& backend) : m_backend(backend) {}
    bool begin(const QStringList& lockedTables, QString* error);
    bool run(const QString& sql, const QStringList& parameters, platform::DataTable& rows,
             QString* error);

    Backend& m_backend;
    bool m_open = false;
};

} // namespace server
