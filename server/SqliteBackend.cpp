#include "SqliteBackend.h"

#include <QFile>
#include <QUuid>
#include <optional>
#include <sqlite3.h>

namespace server {

namespace {

// Owns one prepared statement.
struct Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

// Whether the cell comes from a column declared as text. SQLite stores any value in any
// column, so such a column may hold a byte block; it is delivered as text like the rest of
// its column (bytes that are no UTF-8 replaced), so that one odd row does not make a whole
// answer unreadable to the module.
bool declaredAsText(sqlite3_stmt* statement, int column)
{
    const char* declared = sqlite3_column_decltype(statement, column);
    if (!declared)
        return false;
    const QByteArray type = QByteArray(declared).toUpper();
    return type.contains("CHAR") || type.contains("TEXT") || type.contains("CLOB");
}

// A cell as a variant; appendColumn below must convert the same way.
platform::Variant columnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return platform::Variant(static_cast<int64_t>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return platform::Variant(sqlite3_column_double(statement, column));
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        if (declaredAsText(statement, column))
            return platform::Variant(QString::fromUtf8(data, size));
        return platform::Variant(QByteArray(data, size));
    }
    case SQLITE_NULL:
        return platform::Variant::null();
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return platform::Variant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    }
}

// The cell as it goes into a packet: SQLite's UTF-8 text is copied as it is. The same
// conversion as columnValue (query() gives a table, queryPacket() a packet): change both.
// The cell is read as one value rather than by three column calls, each of which would
// take the connection's mutex; the caller holds that mutex (ConnectionLock), which makes
// reading the unprotected value safe.
void appendColumn(platform::PacketWriter& writer, sqlite3_stmt* statement, int column)
{
    sqlite3_value* value = sqlite3_column_value(statement, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        writer.appendInteger(static_cast<int64_t>(sqlite3_value_int64(value)));
        break;
    case SQLITE_FLOAT:
        writer.appendDouble(sqlite3_value_double(value));
        break;
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_value_blob(value));
        if (declaredAsText(statement, column))
            writer.appendUtf8(data, sqlite3_value_bytes(value));
        else
            writer.appendBytes(data, sqlite3_value_bytes(value));
        break;
    }
    case SQLITE_NULL:
        writer.appendNull();
        break;
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        writer.appendUtf8(text, sqlite3_value_bytes(value));
    }
    }
}

// Holds a connection's mutex for a scope (none when SQLite runs without one).
class ConnectionLock {
public:
    explicit ConnectionLock(sqlite3* db) : m_mutex(sqlite3_db_mutex(db))
    {
        sqlite3_mutex_enter(m_mutex);
    }
    ~ConnectionLock() { sqlite3_mutex_leave(m_mutex); }
    ConnectionLock(const ConnectionLock&) = delete;
    ConnectionLock& operator=(const ConnectionLock&) = delete;

private:
    sqlite3_mutex* m_mutex;
};

QStringList columnNames(sqlite3_stmt* statement)
{
    QStringList names;
    const int columnCount = sqlite3_column_count(statement);
    names.reserve(columnCount);
    for (int column = 0; column < columnCount; ++column)
        names.append(QString::fromUtf8(sqlite3_column_name(statement, column)));
    return names;
}

// Binds parameters as text to $1, $2, ... by name (SQLite numbers named parameters in the
// order they first appear), or to the positions of plain ? parameters. The UTF-8 texts
// are bound in place, not copied (a batch's audit row carries the whole batch): the
// answer holds them and must outlive the statement's run.
QList<QByteArray> bindTexts(sqlite3_stmt* statement, const QStringList& parameters)
{
    QList<QByteArray> values;
    values.reserve(parameters.size());
    for (int i = 0; i < parameters.size(); ++i) {
        const QByteArray name = "$" + QByteArray::number(i + 1);
        const int named = sqlite3_bind_parameter_index(statement, name.constData());
        values.append(parameters[i].toUtf8());
        sqlite3_bind_text(statement, named > 0 ? named : i + 1, values.last().constData(),
                          int(values.last().size()), SQLITE_STATIC);
    }
    return values;
}

QString statementText(const char* begin, const char* end)
{
    return QString::fromUtf8(begin, int(end - begin)).trimmed();
}

// Pragmas that only read, with an argument (the table or index they describe).
bool readingPragma(const QByteArray& name, bool withArgument)
{
    static const QList<QByteArray> describing = {
        "table_info",       "table_xinfo",       "index_list",      "index_info", "index_xinfo",
        "foreign_key_list", "foreign_key_check", "integrity_check", "quick_check"};
    static const QList<QByteArray> acting = {"optimize", "shrink_memory", "wal_checkpoint",
                                             "incremental_vacuum"};
    return withArgument ? describing.contains(name) : !acting.contains(name);
}

// The tables a client may write (the others are the trail, parameters, period, storage
// areas, employees and the schema version: admin work).
bool clientWritable(const QByteArray& table)
{
    return table == "tbqyda" || table == "tbqydz";
}

QString uniqueToken()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// The authorizer stays set while a query or batch is prepared and run (a statement may be
// prepared again when it runs); this scope takes it off again on every way out.
class AuthorizerScope {
public:
    AuthorizerScope(sqlite3* db,
                    int (*callback)(void*, int, const char*, const char*, const char*, const char*),
                    void* context)
        : m_db(db)
    {
        sqlite3_set_authorizer(m_db, callback, context);
    }
    ~AuthorizerScope() { sqlite3_set_authorizer(m_db, nullptr, nullptr); }
    AuthorizerScope(const AuthorizerScope&) = delete;
    AuthorizerScope& operator=(const AuthorizerScope&) = delete;

private:
    sqlite3* m_db;
};

} // namespace

std::unique_ptr<SqliteBackend> SqliteBackend::open(const QString& path, Mode mode, QString* error)
{
    sqlite3* db = nullptr;
    int flags = SQLITE_OPEN_FULLMUTEX;
    if (mode == Mode::ReadOnly)
        flags |= SQLITE_OPEN_READONLY;
    else
        flags |= SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        if (error)
            *error = QStringLiteral("无法打开数据库文件 %1：%2")
                         .arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, BusyTimeoutMilliseconds);
    std::unique_ptr<SqliteBackend> backend(new SqliteBackend(db));
    backend->registerFunctions();
    QStringList errors;
    const char* settings = mode == Mode::ReadOnly
                               ? "pragma foreign_keys=on; pragma query_only=1"
                               : "pragma foreign_keys=on; pragma journal_mode=wal";
    if (!backend->runPlain(settings, errors)) {
        if (error)
            *error = QStringLiteral("无法打开数据库文件 %1：%2").arg(path, errors.value(0));
        return nullptr;
    }
    return backend;
}

void SqliteBackend::registerFunctions()
{
    const auto text = [](sqlite3_context* context, int, sqlite3_value**) {
        const auto* value = static_cast<const QByteArray*>(sqlite3_user_data(context));
        sqlite3_result_text(context, value->constData(), int(value->size()), SQLITE_TRANSIENT);
    };
    sqlite3_create_function_v2(m_db, "nelvo_operator", 0, SQLITE_UTF8, &m_operator, text, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "nelvo_txn", 0, SQLITE_UTF8, &m_transaction, text, nullptr,
                               nullptr, nullptr);
}

int SqliteBackend::authorize(void* context, int action, const char* first, const char* second,
                             const char*, const char* trigger)
{
    auto* self = static_cast<SqliteBackend*>(context);
    QString reason;
    if (action == SQLITE_TRANSACTION || action == SQLITE_SAVEPOINT)
        reason = QStringLiteral("批处理中不能包含事务控制语句");
    else if (self->m_clientRules && !trigger) // a trigger's own statements are the schema's
        reason = self->clientRefusal(action, first, second);
    if (reason.isEmpty())
        return SQLITE_OK;
    if (self->m_refusal.isEmpty())
        self->m_refusal = reason;
    return SQLITE_DENY;
}

QString SqliteBackend::clientRefusal(int action, const char* first, const char* second) const
{
    const QByteArray name = QByteArray(first ? first : "").toLower();
    switch (action) {
    case SQLITE_READ:
    case SQLITE_SELECT:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return {};
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        if (clientWritable(name))
            return {};
        return QStringLiteral("没有权限修改表 %1").arg(QString::fromUtf8(first));
    case SQLITE_PRAGMA:
        if (readingPragma(name, second != nullptr))
            return {};
        return QStringLiteral("没有权限执行 PRAGMA %1").arg(QString::fromUtf8(first));
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
        return QStringLiteral("没有权限附加或分离数据库");
    default: // create, drop, alter, reindex, analyze: the schema is the administrator's
        return QStringLiteral("没有权限更改数据库结构");
    }
}

SqliteBackend::~SqliteBackend()
{
    sqlite3_close(m_db);
}

QString SqliteBackend::lastMessage() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

bool SqliteBackend::runPlain(const char* sql, QStringList& errors)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    errors = {message ? QString::fromUtf8(message) : lastMessage(), QString::fromUtf8(sql)};
    sqlite3_free(message);
    return false;
}

template <typename RowReader>
bool SqliteBackend::runQuery(const QString& sql, const QStringList& parameters, QStringList& errors,
                             RowReader readRows)
{
    const QByteArray text = sql.toUtf8();
    const char* next = text.constData();
    const char* end = next + text.size();
    bool anyStatement = false;
    m_refusal.clear();
    std::optional<AuthorizerScope> authorizer;
    if (m_clientRules)
        authorizer.emplace(m_db, authorize, this);
    QList<QByteArray> bound; // declared before the statement, so it outlives it
    while (next < end) {
        Statement statement;
        const char* begin = next;
        // The length counts the terminating NUL (QByteArray keeps one) so that SQLite
        // reads the text in place instead of copying the rest of the batch each time.
        if (sqlite3_prepare_v2(m_db, begin, int(end - begin) + 1, &statement.handle, &next) !=
            SQLITE_OK) {
            errors = {m_refusal.isEmpty() ? lastMessage() : m_refusal, statementText(begin, end)};
            return false;
        }
        if (!statement.handle) // only blanks or comments remain
            break;
        if (m_clientRules && !sqlite3_stmt_readonly(statement.handle)) {
            errors = {QStringLiteral("查询只能读取数据，不能修改"), statementText(begin, next)};
            return false;
        }
        if (!parameters.isEmpty()) {
            if (next < end && !QByteArray(next, int(end - next)).trimmed().isEmpty()) {
                errors = {QStringLiteral("带参数的查询只能有一条语句"), sql};
                return false;
            }
            bound = bindTexts(statement.handle, parameters);
        }
        anyStatement = true;
        if (!readRows(statement.handle)) {
            errors = {lastMessage(), statementText(begin, next)};
            return false;
        }
    }
    if (!anyStatement) {
        errors = {QStringLiteral("查询语句为空")};
        return false;
    }
    return true;
}

bool SqliteBackend::query(const QString& sql, const QStringList& parameters,
                          platform::DataTable& table, QStringList& errors)
{
    return runQuery(sql, parameters, errors, [&table](sqlite3_stmt* statement) {
        platform::DataTable rows;
        rows.columns = columnNames(statement);
        const int columnCount = int(rows.columns.size());
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            QList<platform::Variant> row;
            row.reserve(columnCount);
            for (int column = 0; column < columnCount; ++column)
                row.append(columnValue(statement, column));
            rows.rows.append(std::move(row));
        }
        if (step != SQLITE_DONE)
            return false;
        table = std::move(rows);
        return true;
    });
}

bool SqliteBackend::queryPacket(const QString& sql, const QStringList& parameters,
                                QByteArray& packet, QStringList& errors)
{
    return runQuery(sql, parameters, errors, [&packet](sqlite3_stmt* statement) {
        const QStringList columns = columnNames(statement);
        const int columnCount = int(columns.size());
        platform::PacketWriter writer(columns);
        const ConnectionLock lock(sqlite3_db_handle(statement)); // for appendColumn
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            writer.beginRow();
            for (int column = 0; column < columnCount; ++column)
                appendColumn(writer, statement, column);
        }
        if (step != SQLITE_DONE)
            return false;
        packet = writer.finish();
        return true;
    });
}

bool SqliteBackend::executeBatch(const QString& text, const BoundStatement* closing,
                                 QStringList& errors)
{
    const QByteArray utf8 = text.toUtf8();
    const char* next = utf8.constData();
    const char* end = next + utf8.size();
    if (!begin(errors))
        return false;
    bool ranStatement = false;
    bool failed = false;
    {
        m_refusal.clear();
        const AuthorizerScope authorizer(m_db, authorize, this);
        while (next < end) {
            Statement statement;
            const char* begin = next;
            const int prepared =
                sqlite3_prepare_v2(m_db, begin, int(end - begin) + 1, &statement.handle, &next);
            if (prepared != SQLITE_OK) {
                errors = {m_refusal.isEmpty() ? lastMessage() : m_refusal,
                          statementText(begin, end)};
                failed = true;
                break;
            }
            if (!statement.handle)
                break;
            int result;
            while ((result = sqlite3_step(statement.handle)) == SQLITE_ROW) {
            }
            if (result != SQLITE_DONE) {
                errors = {m_refusal.isEmpty() ? lastMessage() : m_refusal,
                          statementText(begin, next)};
                failed = true;
                break;
            }
            ranStatement = true;
        }
    }
    // Rolled back once the authorizer is gone: it refuses every transaction statement.
    if (failed)
        return rollbackAfterFailure();
    // The closing statement is the server's own (it records the batch text).
    if (ranStatement && closing && !runBound(*closing, errors))
        return rollbackAfterFailure();
    return commit(errors);
}

bool SqliteBackend::begin(QStringList& errors)
{
    m_transaction = uniqueToken().toUtf8();
    return runPlain("begin immediate", errors);
}

bool SqliteBackend::commit(QStringList& errors)
{
    if (!runPlain("commit", errors))
        return rollbackAfterFailure();
    return true;
}

void SqliteBackend::rollback()
{
    rollbackAfterFailure();
}

bool SqliteBackend::runBound(const BoundStatement& bound, QStringList& errors)
{
    QList<QByteArray> values; // declared before the statement, so it outlives it
    Statement statement;
    const QByteArray sql = bound.sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &statement.handle, nullptr) !=
            SQLITE_OK ||
        !statement.handle) {
        errors = {lastMessage(), bound.sql};
        return false;
    }
    values = bindTexts(statement.handle, bound.parameters);
    int result;
    while ((result = sqlite3_step(statement.handle)) == SQLITE_ROW) {
    }
    if (result == SQLITE_DONE)
        return true;
    errors = {lastMessage(), bound.sql};
    return false;
}

bool SqliteBackend::rollbackAfterFailure()
{
    QStringList ignored;
    if (!sqlite3_get_autocommit(m_db))
        runPlain("rollback", ignored);
    return false;
}

bool SqliteBackend::runScript(const QString& resource, QStringList& errors)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        errors = {QStringLiteral("缺少数据库结构脚本 %1").arg(resource)};
        return false;
    }
    return runPlain(file.readAll().constData(), errors);
}

bool SqliteBackend::hasColumn(const char* table, const char* column, QStringList& errors, bool& has)
{
    platform::DataTable rows;
    if (!query(QStringLiteral("select 1 from pragma_table_info($1) where lower(name) = $2"),
               {QString::fromUtf8(table), QString::fromUtf8(column)}, rows, errors))
        return false;
    has = !rows.rows.isEmpty();
    return true;
}

bool SqliteBackend::initialize(const QString&, QStringList& errors)
{
    // The mapping table may have to be built again: with foreign_keys on, dropping it would
    // check its rows. The pragma has no effect inside a transaction, so it comes first.
    if (!runPlain("pragma foreign_keys=off", errors) || !begin(errors))
        return false;
    const auto fail = [this, &errors] {
        rollbackAfterFailure();
        QStringList ignored;
        runPlain("pragma foreign_keys=on", ignored);
        return false;
    };
    if (!runScript(QStringLiteral(":/nelvo/server/schema/sqlite-tables.sql"), errors))
        return fail();
    for (const char* column : {"f_txn", "f_login"}) {
        bool has = false;
        if (!hasColumn("tbAudit", column, errors, has))
            return fail();
        if (!has && !runPlain(QByteArray("alter table tbAudit add column ")
                                  .append(column)
                                  .append(" text")
                                  .constData(),
                              errors))
            return fail();
    }
    platform::DataTable keys;
    if (!query(QStringLiteral("select 1 from pragma_foreign_key_list('tbqydz')"), {}, keys, errors))
        return fail();
    if (keys.rows.isEmpty() &&
        !runScript(QStringLiteral(":/nelvo/server/schema/sqlite-mapping-keys.sql"), errors))
        return fail();
    if (!runScript(QStringLiteral(":/nelvo/server/schema/sqlite-trail.sql"), errors) ||
        !runPlain("commit", errors))
        return fail();
    return runPlain("pragma foreign_keys=on", errors);
}

bool SqliteBackend::setOperator(const QString& operatorCode, QStringList&)
{
    m_operator = operatorCode.toUtf8();
    return true;
}

bool SqliteBackend::executeUnchecked(const QString& text, QStringList& errors)
{
    // The pragma has no effect inside a transaction, so it brackets the batch.
    if (!runPlain("pragma foreign_keys=off", errors))
        return false;
    const bool ok = executeBatch(text, nullptr, errors);
    QStringList ignored;
    runPlain("pragma foreign_keys=on", ignored);
    return ok;
}

QString SqliteBackend::batchTextStatement() const
{
    return QStringLiteral("insert into tbAudit (f_time, f_operator, f_text, f_txn) "
                          "select f_time, f_operator, $1, f_txn from vwTrailBatch where true "
                          "on conflict (f_txn) do update set f_text = excluded.f_text");
}

QString SqliteBackend::currentBatchQuery() const
{
    return QStringLiteral("select f_id from tbAudit where f_txn = nelvo_txn()");
}

QString SqliteBackend::jsonField(const QString& column, const QString& field) const
{
    return QStringLiteral("json_extract(%1, '$.%2')").arg(column, field);
}

bool SqliteBackend::tableExists(const QString& table, bool& exists, QStringList& errors)
{
    platform::DataTable rows;
    if (!query(QStringLiteral("select 1 from sqlite_master where type = 'table' and "
                              "lower(name) = lower($1)"),
               {table}, rows, errors))
        return false;
    exists = !rows.rows.isEmpty();
    return true;
}

} // namespace server
