#include "DataServer.h"

#include "Backend.h"
#include "DemoData.h"
#include "PostgresBackend.h"
#include "SqlLiteral.h"
#include "SqliteBackend.h"
#include "WorkTransaction.h"
#include "platform/CoorDisp.h"
#include "platform/DataPacket.h"
#include "platform/Error.h"

#include <algorithm>
#include <utility>

namespace server {

using platform::DispatchArgument;
using platform::DispatchArguments;
using platform::DispatchError;
using platform::Variant;

namespace {

void requireCount(const DispatchArguments& arguments, size_t count, const char* callName)
{
    if (arguments.size() != count)
        throw DispatchError(QStringLiteral("%1 takes %2 argument(s), %3 given")
                                .arg(QLatin1String(callName))
                                .arg(count)
                                .arg(arguments.size()));
}

DispatchArgument& requireByRef(DispatchArguments& arguments, size_t index, const char* callName)
{
    if (!arguments[index].isByRef())
        throw DispatchError(QStringLiteral("%1: argument %2 must be passed by reference")
                                .arg(QLatin1String(callName))
                                .arg(index + 1));
    return arguments[index];
}

QString requireText(const DispatchArgument& argument, size_t index, const char* callName)
{
    if (!argument.value().isText())
        throw DispatchError(QStringLiteral("%1: argument %2 must be a text, not %3")
                                .arg(QLatin1String(callName))
                                .arg(index + 1)
                                .arg(Variant::typeName(argument.value().type())));
    return argument.value().toText();
}

// The failing statement is shown to the user in a message box: a long one is cut so that
// the box stays readable (the database's own message, first, is kept whole).
constexpr qsizetype ShownStatementLength = 500;

QString shortenedStatement(const QString& statement)
{
    if (statement.size() <= ShownStatementLength)
        return statement;
    return statement.left(ShownStatementLength) +
           QStringLiteral("…（共 %1 个字符）").arg(statement.size());
}

Variant errorPayload(const QStringList& messages)
{
    QList<Variant> elements;
    for (qsizetype index = 0; index < messages.size(); ++index)
        elements << Variant(index == 0 ? messages[index] : shortenedStatement(messages[index]));
    return Variant::array(elements);
}

} // namespace

bool DataServer::isPostgresUri(const QString& database)
{
    return database.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           database.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

DataServer* DataServer::open(const QString& database, const DataServerOptions& options,
                             QString* error)
{
    std::unique_ptr<Backend> backend;
    if (isPostgresUri(database))
        backend = PostgresBackend::connect(database, error);
    else
        backend = SqliteBackend::open(database, error);
    if (!backend)
        return nullptr;
    QStringList errors;
    if (!backend->executeBatch(backend->schemaScript(), nullptr, errors)) {
        if (error)
            *error = QStringLiteral("无法建立数据表：%1").arg(errors.join(QLatin1Char('\n')));
        return nullptr;
    }
    auto* server = new DataServer(std::move(backend), options);
    QString tracePath = options.sqlTraceFile;
    if (tracePath.isEmpty())
        tracePath = qEnvironmentVariable("NELVO_SQL_TRACE");
    if (!server->m_trace.open(tracePath)) {
        if (error)
            *error = QStringLiteral("无法写入 SQL 跟踪文件 %1").arg(tracePath);
        server->release();
        return nullptr;
    }
    return server;
}

DataServer::DataServer(std::unique_ptr<Backend> backend, DataServerOptions options)
    : m_backend(std::move(backend)), m_options(std::move(options)),
      m_clock([] { return QDateTime::currentDateTime(); })
{
}

DataServer::~DataServer() = default;

QString DataServer::databaseType() const
{
    return m_backend->name();
}

void DataServer::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

bool DataServer::carryForward(QString* error)
{
    const QString period = sqlLiteral(m_clock().toString(QStringLiteral("yyyyMM")));
    return executeScript(QStringLiteral("update tbKjqj set f_dqny = %1;\n"
                                        "insert into tbKjqj (f_dqny) select %1 "
                                        "where not exists (select 1 from tbKjqj);\n")
                             .arg(period),
                         error);
}

bool DataServer::loadDemoData(QString* error)
{
    return executeScript(DemoData::script(m_clock().date()), error);
}

bool DataServer::executeScript(const QString& sql, QString* error)
{
    QStringList errors;
    if (sql.trimmed().isEmpty() || m_backend->executeBatch(sql, nullptr, errors))
        return true;
    if (error)
        *error = errors.join(QLatin1Char('\n'));
    return false;
}

std::unique_ptr<WorkTransaction> DataServer::beginWork(const QStringList& lockedTables,
                                                       QString* error)
{
    std::unique_ptr<WorkTransaction> work(new WorkTransaction(
        *m_backend, m_options.operatorCode,
        [this] { return m_clock().toString(QLatin1String(AuditTimeFormat)); }));
    if (!work->begin(lockedTables, error))
        return nullptr;
    return work;
}

bool DataServer::auditTrail(const QDate& since, const QString& operatorCode,
                            QList<AuditEntry>& entries, QString* error)
{
    QStringList conditions;
    QStringList parameters;
    if (since.isValid()) {
        parameters << since.toString(Qt::ISODate); // "yyyy-MM-dd" sorts before that day's times
        conditions << QStringLiteral("f_time >= $%1").arg(parameters.size());
    }
    if (!operatorCode.isEmpty()) {
        parameters << operatorCode;
        conditions << QStringLiteral("f_operator = $%1").arg(parameters.size());
    }
    QString sql = QStringLiteral("select f_id, f_time, f_operator, f_text from tbAudit");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" where ") + conditions.join(QLatin1String(" and "));
    sql += QStringLiteral(" order by f_time desc, f_id desc");

    platform::DataTable table;
    QStringList errors;
    if (!m_backend->query(sql, parameters, table, errors)) {
        if (error)
            *error = errors.join(QLatin1Char('\n'));
        return false;
    }
    entries.clear();
    entries.reserve(table.rows.size());
    const auto text = [](const Variant& value) {
        return value.isNull() ? QString() : value.toText();
    };
    for (const QList<Variant>& row : std::as_const(table.rows))
        entries.append({row[0].int64Value(), text(row[1]), text(row[2]), text(row[3])});
    return true;
}

void DataServer::trace(const char* callName, bool result, const QString& text)
{
    m_trace.record(m_clock().toString(Qt::ISODateWithMs), QLatin1String(callName), result, text);
}

Variant DataServer::dispatch(int32_t dispId, DispatchArguments& arguments)
{
    namespace Ids = platform::CoorDisp;
    switch (dispId) {
    case Ids::QueryData:
        return queryData(arguments);
    case Ids::ExecuteBatch:
        return executeBatch(arguments);
    case Ids::GetServerYearMonth:
        return serverYearMonth(arguments);
    case Ids::GetServerDate:
        return serverText(arguments, QStringLiteral("yyyyMMdd"), "GetServerDate");
    case Ids::GetServerDateTime:
        return serverText(arguments, QStringLiteral("yyyy-MM-dd hh:mm:ss"), "GetServerDateTime");
    case Ids::GetEmployeeName:
        return employeeName(arguments);
    case Ids::GetDatabaseType:
        requireCount(arguments, 0, "GetDatabaseType");
        return Variant(databaseType());
    case Ids::GetSystemParameters:
        return systemParameters(arguments);
    default:
        throw DispatchError(QStringLiteral("Unknown dispatch id %1").arg(dispId));
    }
}

bool DataServer::queryInto(const QString& sql, const QStringList& parameters,
                           DispatchArgument& target)
{
    QByteArray packet;
    QStringList errors;
    if (!m_backend->queryPacket(sql, parameters, packet, errors)) {
        target.setValue(errorPayload(errors));
        return false;
    }
    target.setValue(Variant(std::move(packet)));
    return true;
}

Variant DataServer::queryData(DispatchArguments& arguments)
{
    requireCount(arguments, 2, "QueryData");
    const QString sql = requireText(arguments[0], 0, "QueryData");
    DispatchArgument& data = requireByRef(arguments, 1, "QueryData");
    bool ok = false;
    if (sql.contains(QChar::Null)) // the database would read only up to the NUL
        data.setValue(errorPayload({QStringLiteral("查询文本中含有空字符（NUL）")}));
    else
        ok = queryInto(sql, {}, data);
    trace("QueryData", ok, sql);
    return Variant(ok);
}

Variant DataServer::executeBatch(DispatchArguments& arguments)
{
    requireCount(arguments, 1, "ExecuteBatch");
    DispatchArgument& batch = requireByRef(arguments, 0, "ExecuteBatch");
    const QString text = requireText(batch, 0, "ExecuteBatch");
    // A scan rather than trimmed(): a batch of many rows would be copied just to be tested.
    const bool blank = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
    QStringList errors;
    bool ok = true;
    if (text.contains(QChar::Null)) {
        // The databases read a text only up to its first NUL: the rest would be lost.
        errors = {QStringLiteral("批处理文本中含有空字符（NUL）")};
        ok = false;
    } else if (!blank) {
        // The audit row is written in the batch's own transaction: both or neither.
        const BoundStatement audit{
            QStringLiteral("insert into tbAudit (f_time, f_operator, f_text) values ($1, $2, $3)"),
            {m_clock().toString(QLatin1String(AuditTimeFormat)), m_options.operatorCode, text}};
        ok = m_backend->executeBatch(text, &audit, errors);
    }
    if (!ok)
        batch.setValue(errorPayload(errors));
    trace("ExecuteBatch", ok, text);
    return Variant(ok);
}

Variant DataServer::serverYearMonth(DispatchArguments& arguments)
{
    requireCount(arguments, 1, "GetServerYearMonth");
    DispatchArgument& value = requireByRef(arguments, 0, "GetServerYearMonth");
    platform::DataTable table;
    QStringList errors;
    if (!m_backend->query(QStringLiteral("select f_dqny from tbKjqj"), {}, table, errors)) {
        value.setValue(errorPayload(errors));
        return Variant(false);
    }
    if (table.rows.isEmpty() || table.rows.first().first().isNull()) {
        value.setValue(errorPayload({QStringLiteral("没有设置当前会计期间")}));
        return Variant(false);
    }
    value.setValue(Variant(table.rows.first().first().toText().trimmed()));
    return Variant(true);
}

Variant DataServer::serverText(DispatchArguments& arguments, const QString& format,
                               const char* callName)
{
    requireCount(arguments, 1, callName);
    requireByRef(arguments, 0, callName).setValue(Variant(m_clock().toString(format)));
    return Variant(true);
}

Variant DataServer::employeeName(DispatchArguments& arguments)
{
    requireCount(arguments, 2, "GetEmployeeName");
    const Variant& kind = arguments[0].value();
    if (kind.type() != Variant::Type::Int32 && kind.type() != Variant::Type::Int64)
        throw DispatchError(QStringLiteral("GetEmployeeName: argument 1 must be an integer, not %1")
                                .arg(Variant::typeName(kind.type())));
    DispatchArgument& value = requireByRef(arguments, 1, "GetEmployeeName");
    const QString code = requireText(value, 1, "GetEmployeeName");
    if (kind.toInt32() != 1) {
        value.setValue(
            errorPayload({QStringLiteral("不支持的职员查询方式 %1").arg(kind.toInt32())}));
        return Variant(false);
    }
    return Variant(
        queryInto(QStringLiteral("select f_zymc from tbZyda where f_zybm = $1"), {code}, value));
}

Variant DataServer::systemParameters(DispatchArguments& arguments)
{
    requireCount(arguments, 1, "GetSystemParameters");
    DispatchArgument& value = requireByRef(arguments, 0, "GetSystemParameters");
    // Quoted aliases keep the spelling on PostgreSQL, which folds unquoted names.
    return Variant(queryInto(QStringLiteral("select f_Csmc as \"f_Csmc\", f_csz as \"f_csz\" "
                                            "from tbXtcs order by f_id"),
                             {}, value));
}

} // namespace server
