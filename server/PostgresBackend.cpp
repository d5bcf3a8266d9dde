#include "PostgresBackend.h"

#include <QFile>
#include <QRegularExpression>
#include <libpq-fe.h>
#include <vector>

namespace server {

namespace {

// Type ids of the built-in types (pg_type.oid) that map to typed values.
enum TypeId : Oid {
    BoolType = 16,
    ByteaType = 17,
    Int8Type = 20,
    Int2Type = 21,
    Int4Type = 23,
    Float4Type = 700,
    Float8Type = 701,
};

// Owns one result.
struct Result {
    PGresult* handle;
    explicit Result(PGresult* result) : handle(result) {}
    ~Result() { PQclear(handle); }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    ExecStatusType status() const { return handle ? PQresultStatus(handle) : PGRES_FATAL_ERROR; }
};

platform::Variant fieldValue(PGresult* result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return platform::Variant::null();
    const char* text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (PQftype(result, column)) {
    case Int2Type:
    case Int4Type:
    case Int8Type:
        return platform::Variant(static_cast<int64_t>(QByteArray(text, length).toLongLong()));
    case Float4Type:
    case Float8Type:
        return platform::Variant(QByteArray(text, length).toDouble());
    case BoolType:
        return platform::Variant(text[0] == 't');
    case ByteaType: {
        size_t size = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
        platform::Variant value(QByteArray(reinterpret_cast<const char*>(bytes), int(size)));
        PQfreemem(bytes);
        return value;
    }
    default: // numeric, text, dates and everything else travel as text
        return platform::Variant(QString::fromUtf8(text, length));
    }
}

platform::DataTable tableOf(PGresult* result)
{
    platform::DataTable table;
    const int columns = PQnfields(result);
    for (int column = 0; column < columns; ++column)
        table.columns << QString::fromUtf8(PQfname(result, column));
    const int rows = PQntuples(result);
    table.rows.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        QList<platform::Variant> values;
        values.reserve(columns);
        for (int column = 0; column < columns; ++column)
            values << fieldValue(result, row, column);
        table.rows << values;
    }
    return table;
}

// Runs one statement with parameters bound as text to $1, $2, ...
PGresult* execWithParameters(PGconn* connection, const QString& sql, const QStringList& parameters)
{
    std::vector<QByteArray> values;
    std::vector<const char*> pointers;
    for (const QString& parameter : parameters)
        values.push_back(parameter.toUtf8());
    for (const QByteArray& value : values)
        pointers.push_back(value.constData());
    return PQexecParams(connection, sql.toUtf8().constData(), int(pointers.size()), nullptr,
                        pointers.data(), nullptr, nullptr, 0);
}

// Made at every connection, whatever the database's defaults: a backslash in a literal is
// an ordinary character (texts escape only their quotes, by doubling them), and notices
// (e.g. "relation already exists, skipping") are of no use to the caller.
constexpr const char* SessionSettings =
    "set standard_conforming_strings = on; set client_min_messages = warning";

} // namespace

std::unique_ptr<PostgresBackend> PostgresBackend::connect(const QString& uri,
                                                          const QString& password, bool readOnly,
                                                          QString* error, bool* needsPassword)
{
    // The URI is expanded in place of dbname; the password given after it overrides one
    // from the URI and keeps it out of any text that names the connection.
    const QByteArray uriBytes = uri.toUtf8();
    const QByteArray passwordBytes = password.toUtf8();
    const char* keywords[] = {"dbname", password.isEmpty() ? nullptr : "password", nullptr};
    const char* values[] = {uriBytes.constData(), passwordBytes.constData(), nullptr};
    PGconn* connection = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(connection) != CONNECTION_OK) {
        if (needsPassword)
            *needsPassword = PQconnectionNeedsPassword(connection);
        if (error)
            *error = QStringLiteral("无法连接数据库服务器：%1")
                         .arg(QString::fromUtf8(PQerrorMessage(connection)).trimmed());
        PQfinish(connection);
        return nullptr;
    }
    std::unique_ptr<PostgresBackend> backend(new PostgresBackend(connection));
    backend->m_readOnly = readOnly;
    QStringList errors;
    if (!backend->applySessionSettings(errors)) {
        if (error)
            *error = errors.value(0);
        return nullptr;
    }
    return backend;
}

bool PostgresBackend::applySessionSettings(QStringList& errors)
{
    PQsetClientEncoding(m_connection, "UTF8");
    if (!runPlain(SessionSettings, errors))
        return false;
    if (m_readOnly && !runPlain("set default_transaction_read_only = on", errors))
        return false;
    // The operator the trail's trigger function records.
    return runBound(
        {QStringLiteral("select set_config('nelvo.operator', $1, false)"), {m_operator}}, errors);
}

bool PostgresBackend::setOperator(const QString& operatorCode, QStringList& errors)
{
    m_operator = operatorCode;
    return runBound(
        {QStringLiteral("select set_config('nelvo.operator', $1, false)"), {m_operator}}, errors);
}

PostgresBackend::~PostgresBackend()
{
    PQfinish(m_connection);
}

void PostgresBackend::describeFailure(PGresult* result, const QString& text,
                                      QStringList& errors) const
{
    QString message = QString::fromUtf8(result ? PQresultErrorMessage(result) : "").trimmed();
    if (message.isEmpty())
        message = QString::fromUtf8(PQerrorMessage(m_connection)).trimmed();
    if (message.isEmpty())
        message = QStringLiteral("数据库没有给出原因的错误");
    errors = {message};
    m_lastSqlState =
        result ? QByteArray(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QByteArray();
    if (result) {
        if (const char* position = PQresultErrorField(result, PG_DIAG_STATEMENT_POSITION))
            errors << QStringLiteral("位置：第 %1 个字符").arg(QString::fromUtf8(position));
    }
    if (!text.isEmpty())
        errors << text.trimmed();
}

bool PostgresBackend::runPlain(const char* sql, QStringList& errors)
{
    Result result(PQexec(m_connection, sql));
    if (result.status() == PGRES_COMMAND_OK || result.status() == PGRES_TUPLES_OK)
        return true;
    describeFailure(result.handle, QString::fromUtf8(sql), errors);
    return false;
}

bool PostgresBackend::runBound(const BoundStatement& bound, QStringList& errors)
{
    Result result(execWithParameters(m_connection, bound.sql, bound.parameters));
    if (result.status() == PGRES_COMMAND_OK || result.status() == PGRES_TUPLES_OK)
        return true;
    describeFailure(result.handle, bound.sql, errors);
    return false;
}

void PostgresBackend::reconnectWhenLost()
{
    // A server restart breaks the connection; the next call connects again (the call that
    // met the broken connection has failed and is not repeated).
    if (PQstatus(m_connection) == CONNECTION_BAD) {
        PQreset(m_connection);
        // The new session starts from the database's defaults again.
        if (PQstatus(m_connection) == CONNECTION_OK) {
            QStringList ignored;
            applySessionSettings(ignored);
        }
    }
}

bool PostgresBackend::query(const QString& sql, const QStringList& parameters,
                            platform::DataTable& table, QStringList& errors)
{
    reconnectWhenLost();
    // PQexec runs a multi-statement text and answers the last statement's result; bound
    // parameters need the single-statement PQexecParams.
    Result result(parameters.isEmpty() ? PQexec(m_connection, sql.toUtf8().constData())
                                       : execWithParameters(m_connection, sql, parameters));
    switch (result.status()) {
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
        table = tableOf(result.handle);
        return true;
    case PGRES_EMPTY_QUERY:
        errors = {QStringLiteral("查询语句为空")};
        return false;
    default:
        describeFailure(result.handle, sql, errors);
        return false;
    }
}

bool PostgresBackend::executeBatch(const QString& text, const BoundStatement* closing,
                                   QStringList& errors)
{
    if (text.trimmed().isEmpty())
        return true;
    reconnectWhenLost();
    if (!runPlain("begin", errors))
        return false;
    Result result(PQexec(m_connection, text.toUtf8().constData()));
    const ExecStatusType status = result.status();
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY) {
        describeFailure(result.handle, text, errors);
        // After a failure inside an explicit transaction the connection refuses every
        // statement until the transaction is rolled back.
        QStringList ignored;
        runPlain("rollback", ignored);
        return false;
    }
    if (PQtransactionStatus(m_connection) != PQTRANS_INTRANS) {
        // The text committed or undid the transaction itself: the batch was not atomic.
        errors = {QStringLiteral("批处理中不能包含事务控制语句"), text.trimmed()};
        QStringList ignored;
        runPlain("rollback", ignored);
        return false;
    }
    // An empty query result means the text held no statement at all.
    if (closing && status != PGRES_EMPTY_QUERY && !runBound(*closing, errors)) {
        QStringList ignored;
        runPlain("rollback", ignored);
        return false;
    }
    return runPlain("commit", errors);
}

bool PostgresBackend::connectionLost() const
{
    return PQstatus(m_connection) == CONNECTION_BAD;
}

bool PostgresBackend::lastFailureMayBeRetried() const
{
    // deadlock_detected and serialization_failure: the server rolled the transaction back.
    return m_lastSqlState == "40P01" || m_lastSqlState == "40001";
}

bool PostgresBackend::lastFailureWasMissingRight() const
{
    return m_lastSqlState == "42501"; // insufficient_privilege
}

namespace {

QString resourceText(const QString& name, QStringList& errors)
{
    QFile file(QStringLiteral(":/nelvo/server/schema/") + name);
    if (file.open(QIODevice::ReadOnly))
        return QString::fromUtf8(file.readAll());
    errors = {QStringLiteral("缺少数据库结构脚本 %1").arg(name)};
    return {};
}

} // namespace

bool PostgresBackend::initialize(const QString& clerkRole, QStringList& errors)
{
    // Role names go into the script as they are: only plain lower-case names are taken.
    static const QRegularExpression plainName(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    if (!plainName.match(clerkRole).hasMatch()) {
        errors = {QStringLiteral("职员角色名 %1 不可用：只能由小写字母、数字和下划线组成")
                      .arg(clerkRole)};
        return false;
    }
    QString script;
    for (const char* name :
         {"postgresql-tables.sql", "postgresql-trail.sql", "postgresql-clerk.sql"}) {
        const QString text = resourceText(QLatin1String(name), errors);
        if (text.isEmpty())
            return false;
        script += text + QLatin1Char('\n');
    }
    script.replace(QLatin1String(":clerk_literal"),
                   QLatin1Char('\'') + clerkRole + QLatin1Char('\''));
    script.replace(QLatin1String(":clerk"), QLatin1Char('"') + clerkRole + QLatin1Char('"'));
    return executeBatch(script, nullptr, errors);
}

bool PostgresBackend::begin(QStringList& errors)
{
    reconnectWhenLost();
    return runPlain("begin", errors);
}

bool PostgresBackend::commit(QStringList& errors)
{
    return runPlain("commit", errors);
}

void PostgresBackend::rollback()
{
    QStringList ignored;
    runPlain("rollback", ignored);
}

QString PostgresBackend::batchTextStatement() const
{
    return QStringLiteral("select nelvo_batch_text($1)");
}

QString PostgresBackend::currentBatchQuery() const
{
    return QStringLiteral("select f_id from tbAudit where f_txn = txid_current()");
}

QString PostgresBackend::jsonField(const QString& column, const QString& field) const
{
    return QStringLiteral("(%1::jsonb ->> '%2')").arg(column, field);
}

bool PostgresBackend::tableExists(const QString& table, bool& exists, QStringList& errors)
{
    platform::DataTable rows;
    if (!query(QStringLiteral("select 1 where to_regclass($1) is not null"), {table.toLower()},
               rows, errors))
        return false;
    exists = !rows.rows.isEmpty();
    return true;
}

bool PostgresBackend::executeUnchecked(const QString& text, QStringList& errors)
{
    // Replica mode fires neither the keys' nor the trail's triggers (owner only).
    return executeBatch(QStringLiteral("set local session_replication_role = replica;\n") + text,
                        nullptr, errors);
}

bool PostgresBackend::mayWritePeriod()
{
    platform::DataTable rows;
    QStringList errors;
    return query(QStringLiteral("select has_table_privilege('tbkjqj', 'UPDATE')"), {}, rows,
                 errors) &&
           !rows.rows.isEmpty() && rows.rows.first().first().toBool();
}

} // namespace server
