#include "DataServer.h"

#include "Backend.h"
#include "BatchFailureExplainer.h"
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
                             QString* error, bool* needsPassword)
{
    if (needsPassword)
        *needsPassword = false;
    const bool initialize = options.createSchema && !options.readOnly;
    std::unique_ptr<Backend> backend;
    if (isPostgresUri(database)) {
        backend = PostgresBackend::connect(database, options.password, options.readOnly, error,
                                           needsPassword);
    } else {
        using Mode = SqliteBackend::Mode;
        backend = SqliteBackend::open(database,
                                      options.readOnly ? Mode::ReadOnly
                                      : initialize     ? Mode::Create
                                                       : Mode::Open,
                                      error);
    }
    if (!backend)
        return nullptr;
    QStringList errors;
    if (initialize && !backend->initialize(options.clerkRole, errors)) {
        if (error)
            *error = QStringLiteral("无法建立数据表：%1").arg(errors.join(QLatin1Char('\n')));
        return nullptr;
    }
    if (!backend->setOperator(options.operatorCode, errors)) {
        if (error)
            *error = errors.join(QLatin1Char('\n'));
        return nullptr;
    }
    const bool mayWritePeriod = !options.readOnly && backend->mayWritePeriod();
    auto* server = new DataServer(std::move(backend), options);
    server->m_mayCarryForward = mayWritePeriod;
    // A clerk's connection never changes the schema: it only tells that it is missing.
    if (!options.readOnly && !initialize && !server->checkSchemaVersion(error)) {
        server->release();
        return nullptr;
    }
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

bool DataServer::checkSchemaVersion(QString* error)
{
    bool exists = false;
    QStringList errors;
    platform::DataTable table;
    if (!m_backend->tableExists(QStringLiteral("tbSchema"), exists, errors) ||
        (exists && !m_backend->query(QStringLiteral("select max(f_version) from tbSchema"), {},
                                     table, errors))) {
        if (error)
            *error = errors.join(QLatin1Char('\n'));
        return false;
    }
    const int version = exists && !table.rows.isEmpty() && !table.rows.first().first().isNull()
                            ? int(table.rows.first().first().toText().toInt())
                            : 0;
    if (version > SchemaVersion) {
        if (error)
            *error = QStringLiteral("数据库的结构版本 %1 比本程序（%2）新，请使用新版本的程序")
                         .arg(version)
                         .arg(SchemaVersion);
        return false;
    }
    if (version < SchemaVersion) {
        if (error)
            *error = QString::fromUtf8(MissingSchemaMessage);
        return false;
    }
    return true;
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
    if (!m_mayCarryForward) {
        if (error)
            *error = QStringLiteral("当前登录没有结转会计期间的权限，请由管理员结转");
        return false;
    }
    const QString month = m_clock().toString(QStringLiteral("yyyyMM"));
    const QString period = sqlLiteral(month);
    return executeScript(QStringLiteral("update tbKjqj set f_dqny = %1;\n"
                                        "insert into tbKjqj (f_dqny) select %1 "
                                        "where not exists (select 1 from tbKjqj);\n")
                             .arg(period),
                         error, QStringLiteral("结转会计期间到 %1").arg(month));
}

bool DataServer::loadDemoData(QString* error)
{
    return executeScript(DemoData::script(m_clock().date()), error, QStringLiteral("载入演示数据"));
}

bool DataServer::executeScript(const QString& sql, QString* error, const QString& text)
{
    QStringList errors;
    const BoundStatement closing{m_backend->batchTextStatement(), {text}};
    if (sql.trimmed().isEmpty() ||
        m_backend->executeBatch(sql, text.isEmpty() ? nullptr : &closing, errors))
        return true;
    if (error)
        *error = errors.join(QLatin1Char('\n'));
    return false;
}

bool DataServer::executeUncheckedScript(const QString& sql, QString* error)
{
    QStringList errors;
    if (m_backend->executeUnchecked(sql, errors))
        return true;
    if (error)
        *error = errors.join(QLatin1Char('\n'));
    return false;
}

std::unique_ptr<WorkTransaction> DataServer::beginWork(const QStringList& lockedTables,
                                                       QString* error)
{
    std::unique_ptr<WorkTransaction> work(new WorkTransaction(*m_backend));
    if (!work->begin(lockedTables, error))
        return nullptr;
    return work;
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
        explainQueryFailure(*m_backend, errors);
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
    else {
        m_backend->setClientRules(!m_options.ownerBatches);
        ok = queryInto(sql, {}, data);
        m_backend->setClientRules(false);
    }
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
        // The batch text is recorded in the batch's own transaction: both or neither. The
        // rows the batch changes are recorded by the database's triggers.
        const BoundStatement batchText{m_backend->batchTextStatement(), {text}};
        // A batch the database undid whole to break a deadlock with another clerk (or a
        // serialization conflict) left nothing behind: it runs again before it is reported.
        m_backend->setClientRules(!m_options.ownerBatches);
        for (int retries = BatchRetries;; --retries) {
            errors.clear();
            ok = m_backend->executeBatch(text, &batchText, errors);
            if (ok || retries == 0 || !m_backend->lastFailureMayBeRetried())
                break;
        }
        m_backend->setClientRules(false);
    }
    if (!ok) {
        explainBatchFailure(*m_backend, text, errors);
        batch.setValue(errorPayload(errors));
    }
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
