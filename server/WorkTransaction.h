#pragma once

#include "platform/DataPacket.h"

#include <QString>
#include <QStringList>
#include <functional>

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
    // Runs statements that change data and records the text in the audit trail, as
    // ExecuteBatch does, inside this transaction. False with error on failure.
    bool execute(const QString& text, QString* error = nullptr);
    // Commits. False with error when that failed (then nothing was changed).
    bool commit(QString* error = nullptr);

private:
    friend class DataServer;
    // auditTime gives the time of an audit row; operatorCode is the session's.
    WorkTransaction(Backend& backend, QString operatorCode, std::function<QString()> auditTime);
    bool begin(const QStringList& lockedTables, QString* error);
    bool run(const QString& sql, const QStringList& parameters, platform::DataTable& rows,
             QString* error);

    Backend& m_backend;
    QString m_operatorCode;
    std::function<QString()> m_auditTime;
    bool m_open = false;
};

} // namespace server
