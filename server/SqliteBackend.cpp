#include "SqliteBackend.h"

#include <QFile>
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

// Authorizer used while a batch's statements are prepared: a statement that would begin,
// commit or undo a transaction (or a savepoint) could commit part of the batch on its own,
// so it is refused.
int refuseTransactionControl(void* refused, int action, const char*, const char*, const char*,
                             const char*)
{
    if (action == SQLITE_TRANSACTION || action == SQLITE_SAVEPOINT) {
        *static_cast<bool*>(refused) = true;
        return SQLITE_DENY;
    }
    return SQLITE_OK;
}

} // namespace

std::unique_ptr<SqliteBackend> SqliteBackend::open(const QString& path, QString* error)
{
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        if (error)
            *error = QStringLiteral("无法打开数据库文件 %1：%2")
                         .arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, BusyTimeoutMilliseconds);
    std::unique_ptr<SqliteBackend> backend(new SqliteBackend(db));
    QStringList errors;
    if (!backend->runPlain("pragma journal_mode=wal", errors)) {
        if (error)
            *error = QStringLiteral("无法打开数据库文件 %1：%2").arg(path, errors.value(0));
        return nullptr;
    }
    return backend;
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
    QList<QByteArray> bound; // declared before the statement, so it outlives it
    while (next < end) {
        Statement statement;
        const char* begin = next;
        // The length counts the terminating NUL (QByteArray keeps one) so that SQLite
        // reads the text in place instead of copying the rest of the batch each time.
        if (sqlite3_prepare_v2(m_db, begin, int(end - begin) + 1, &statement.handle, &next) !=
            SQLITE_OK) {
            errors = {lastMessage(), statementText(begin, end)};
            return false;
        }
        if (!statement.handle) // only blanks or comments remain
            break;
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
    if (!runPlain("begin immediate", errors))
        return false;
    bool ranStatement = false;
    while (next < end) {
        Statement statement;
        const char* begin = next;
        bool refused = false;
        sqlite3_set_authorizer(m_db, refuseTransactionControl, &refused);
        const int prepared =
            sqlite3_prepare_v2(m_db, begin, int(end - begin) + 1, &statement.handle, &next);
        sqlite3_set_authorizer(m_db, nullptr, nullptr);
        if (prepared != SQLITE_OK) {
            errors = {refused ? QStringLiteral("批处理中不能包含事务控制语句") : lastMessage(),
                      statementText(begin, end)};
            return rollbackAfterFailure();
        }
        if (!statement.handle)
            break;
        int result;
        while ((result = sqlite3_step(statement.handle)) == SQLITE_ROW) {
        }
        if (result != SQLITE_DONE) {
            errors = {lastMessage(), statementText(begin, next)};
            return rollbackAfterFailure();
        }
        ranStatement = true;
    }
    if (ranStatement && closing && !runBound(*closing, errors))
        return rollbackAfterFailure();
    if (!runPlain("commit", errors))
        return rollbackAfterFailure();
    return true;
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

QString SqliteBackend::schemaScript() const
{
    QFile file(QStringLiteral(":/nelvo/server/schema-sqlite.sql"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace server
