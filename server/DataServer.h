#pragma once

#include "SqlTrace.h"
#include "platform/Dispatch.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace server {

class Backend;
class WorkTransaction;

// One entry of the audit trail: a batch that ExecuteBatch committed.
struct AuditEntry {
    qint64 id = 0;
    QString time; // "yyyy-MM-dd hh:mm:ss" of the server clock
    QString operatorCode;
    QString text; // the batch exactly as received
};

struct DataServerOptions {
    QString operatorCode; // the operator of the session (for the audit trail)
    // Trace file of the texts received; empty: the environment variable NELVO_SQL_TRACE,
    // when set, names it.
    QString sqlTraceFile;
};

// The data server (ICoorDisp): runs the module's SQL texts on SQLite or PostgreSQL and
// answers the dispatch ids of platform/CoorDisp.h. A wrong argument count or argument kind
// raises platform::DispatchError; a database failure answers false with the error payload
// (an array of texts, the database's own message first) in the by-ref argument.
class DataServer : public platform::DispatchObject {
public:
    // Opens database (a SQLite file path, created when missing, or a postgresql:// URI)
    // and creates the missing tables. Returns a new object holding one reference, which
    // the caller adopts (DispatchRef::adopt), or nullptr with error set.
    static DataServer* open(const QString& database, const DataServerOptions& options,
                            QString* error);

    static bool isPostgresUri(const QString& database);

    // "SQLITE" or "POSTGRESQL".
    QString databaseType() const;
    const QString& operatorCode() const { return m_options.operatorCode; }
    bool isTracing() const { return m_trace.isEnabled(); }

    // Moves the open accounting period to the current month of the server clock.
    bool carryForward(QString* error = nullptr);
    // Replaces the content of every table with the demo warehouse, open period the
    // current month. One transaction: on failure nothing changed.
    bool loadDemoData(QString* error = nullptr);
    // Runs a script as one transaction (fixtures, maintenance). Not traced, not audited.
    bool executeScript(const QString& sql, QString* error = nullptr);
    // Opens a transaction held over several calls (WorkTransaction.h), with lockedTables
    // locked against other writers (none: a plain transaction). nullptr with error set when
    // it cannot be opened (another connection holds the lock past the busy timeout).
    std::unique_ptr<WorkTransaction> beginWork(const QStringList& lockedTables,
                                               QString* error = nullptr);

    // The audit trail (tbAudit), newest first: the entries from the day since on (null:
    // all) of operatorCode (empty: every operator). False with error when it cannot be read.
    bool auditTrail(const QDate& since, const QString& operatorCode, QList<AuditEntry>& entries,
                    QString* error = nullptr);
    // The format of tbAudit.f_time.
    static constexpr const char* AuditTimeFormat = "yyyy-MM-dd hh:mm:ss";

    // The clock behind the server's date, date-time and carry-forward (tests set one).
    void setClock(std::function<QDateTime()> clock);
    QDateTime now() const { return m_clock(); }

protected:
    ~DataServer() override; // released through release()
    platform::Variant dispatch(int32_t dispId, platform::DispatchArguments& arguments) override;

private:
    DataServer(std::unique_ptr<Backend> backend, DataServerOptions options);

    platform::Variant queryData(platform::DispatchArguments& arguments);
    platform::Variant executeBatch(platform::DispatchArguments& arguments);
    platform::Variant serverYearMonth(platform::DispatchArguments& arguments);
    platform::Variant serverText(platform::DispatchArguments& arguments, const QString& format,
                                 const char* callName);
    platform::Variant employeeName(platform::DispatchArguments& arguments);
    platform::Variant systemParameters(platform::DispatchArguments& arguments);

    // Runs a query into the by-ref argument: the packet, or the error payload.
    bool queryInto(const QString& sql, const QStringList& parameters,
                   platform::DispatchArgument& target);
    void trace(const char* callName, bool result, const QString& text);

    std::unique_ptr<Backend> m_backend;
    DataServerOptions m_options;
    SqlTrace m_trace;
    std::function<QDateTime()> m_clock;
};

} // namespace server
