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

// Which batches of the trail to list; empty or null members do not filter.
struct TrailFilter {
    QDate since;             // batches on or after this day (database clock)
    QDate until;             // batches on or before this day
    QString operatorCode;    // exactly this operator
    QString areaCode;        // batches that changed a row of this area (tbQyda or tbqydz.f_qybm)
    QString storageAreaCode; // batches that changed a row of this storage area
    int limit = 0;           // at most this many batches, newest first (0: all)
};

// One changed row, written by the database's own triggers.
struct TrailRow {
    QString operation; // "INSERT", "UPDATE" or "DELETE"
    QString table;     // "tbQyda", "tbCCQyda", "tbqydz" or "tbKjqj"
    QString key;       // "A01", or kind/storage area for a mapping ("PICK/S001")
    QString before;    // the row before as a JSON object text; empty for INSERT
    QString after;     // the row after as a JSON object text; empty for DELETE
};

// One batch (one transaction) of the trail.
struct TrailBatch {
    qint64 id = 0;
    QString time; // "yyyy-MM-dd hh:mm:ss" from the database's own clock
    QString operatorCode;
    QString text;         // the batch text as received, when there was one
    QList<TrailRow> rows; // empty for batches recorded before the row trail existed
};

struct RestoreOutcome {
    QList<TrailRow> planned;   // what restoring does (the batch's rows reversed, last first)
    QStringList conflicts;     // one line per row changed since, naming its table and key
    qint64 restoreBatchId = 0; // the batch the restore wrote (0 on a dry run or refusal)
};

struct DataServerOptions {
    QString operatorCode; // the operator of the session (recorded in the trail)
    // Trace file of the texts received; empty: the environment variable NELVO_SQL_TRACE,
    // when set, names it.
    QString sqlTraceFile;
    // True: open creates or upgrades the schema as its owner (the embedded default on first
    // start, a new SQLite file chosen in the shell, nelvo-admin init). False: a missing or
    // older schema is refused with MissingSchemaMessage and nothing is created.
    bool createSchema = false;
    // Open read-only (nelvo-admin export, history): never creates or changes anything.
    bool readOnly = false;
    // Batches come from the owner (nelvo-admin), not a clerk: on SQLite they are not held
    // to the clerk's rules (PostgreSQL decides by the login's own rights).
    bool ownerBatches = false;
    // The PostgreSQL group role of the clerks that createSchema makes and grants to.
    QString clerkRole = QStringLiteral("nelvo_clerk");
    // The PostgreSQL password, given to libpq apart from the URI; never stored or shown.
    // Empty: libpq finds one itself (~/.pgpass, PGPASSWORD, a service file) if it needs one.
    QString password = {};
};

// The data server (ICoorDisp): runs the module's SQL texts on SQLite or PostgreSQL and
// answers the dispatch ids of platform/CoorDisp.h. A wrong argument count or argument kind
// raises platform::DispatchError; a database failure answers false with the error payload
// (an array of texts, the database's own message first) in the by-ref argument.
class DataServer : public platform::DispatchObject {
public:
    // Opens database (a SQLite file path or a postgresql:// URI) as options say. Returns a
    // new object holding one reference, which the caller adopts (DispatchRef::adopt), or
    // nullptr with error set; needsPassword (when given) tells whether the server refused
    // only for want of a password.
    static DataServer* open(const QString& database, const DataServerOptions& options,
                            QString* error, bool* needsPassword = nullptr);

    static bool isPostgresUri(const QString& database);

    // How often ExecuteBatch runs a batch again that the database undid whole to break a
    // deadlock or a serialization conflict.
    static constexpr int BatchRetries = 3;

    // The schema version this program writes and needs.
    static constexpr int SchemaVersion = 2;
    static constexpr const char* MissingSchemaMessage =
        "数据库尚未初始化，请由管理员运行 nelvo-admin init";

    // "SQLITE" or "POSTGRESQL".
    QString databaseType() const;
    const QString& operatorCode() const { return m_options.operatorCode; }
    bool isTracing() const { return m_trace.isEnabled(); }

    // Moves the open accounting period to the current month of the server clock. Refused
    // when the connection may not (mayCarryForward).
    bool carryForward(QString* error = nullptr);
    // False when this connection may not move the period (a clerk's PostgreSQL login).
    bool mayCarryForward() const { return m_mayCarryForward; }
    // Replaces the content of every table with the demo warehouse, open period the
    // current month. One transaction: on failure nothing changed.
    bool loadDemoData(QString* error = nullptr);
    // Runs a script as one transaction (fixtures, maintenance). Not traced; the trail
    // records its changes with text (when given) as the batch text.
    bool executeScript(const QString& sql, QString* error = nullptr,
                       const QString& text = QString());
    // Opens a transaction held over several calls (WorkTransaction.h), with lockedTables
    // locked against other writers (none: a plain transaction). nullptr with error set when
    // it cannot be opened (another connection holds the lock past the busy timeout).
    std::unique_ptr<WorkTransaction> beginWork(const QStringList& lockedTables,
                                               QString* error = nullptr);

    // Runs a script like executeScript with the mapping table's keys unchecked, as rows
    // written before the keys existed were (fixtures of such databases).
    bool executeUncheckedScript(const QString& sql, QString* error = nullptr);

    // The batches of the trail that pass filter, newest first, with their rows. False with
    // error when the trail cannot be read.
    bool trail(const TrailFilter& filter, QList<TrailBatch>& batches, QString* error = nullptr);
    // Puts back the rows as they were before batch id, in one transaction recorded in the
    // trail. Refused (false, conflicts filled, nothing changed) when a row changed since,
    // unless force. dryRun: fills planned and conflicts and changes nothing. A second
    // restore of the same batch is refused (its rows changed since: by the first restore).
    bool restoreBatch(qint64 id, bool dryRun, bool force, RestoreOutcome& outcome,
                      QString* error = nullptr);
    // Mappings that name an area of their kind or a storage area that does not exist, as
    // "kind/area/storage area" lines (kept from before the keys existed).
    bool orphanMappings(QStringList& mappings, QString* error = nullptr);
    // What trail answers on a login without the right to read the trail (a clerk's).
    static constexpr const char* TrailNotPermittedMessage =
        "当前登录没有查看操作历史的权限，请由管理员用 nelvo-admin history 查看";
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
    bool checkSchemaVersion(QString* error);
    bool readTrailRows(QList<TrailBatch>& batches, QStringList& errors);

    std::unique_ptr<Backend> m_backend;
    DataServerOptions m_options;
    SqlTrace m_trace;
    std::function<QDateTime()> m_clock;
    bool m_mayCarryForward = true;
};

} // namespace server
