#include "ServerFixture.h"

#include "platform/CoorDisp.h"

#include <QCoreApplication>
#include <QUuid>
#include <libpq-fe.h>

namespace {

QString postgresUri()
{
    return qEnvironmentVariable("NELVO_TEST_PG_URI");
}

// Runs one statement on the test server outside any data server; false with error.
bool runOnPostgres(const QString& sql, QString& error)
{
    PGconn* connection = PQconnectdb(postgresUri().toUtf8().constData());
    bool ok = PQstatus(connection) == CONNECTION_OK;
    if (ok) {
        const QByteArray quiet = "set client_min_messages = warning; " + sql.toUtf8();
        PGresult* result = PQexec(connection, quiet.constData());
        ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
    }
    if (!ok)
        error = QString::fromUtf8(PQerrorMessage(connection));
    PQfinish(connection);
    return ok;
}

QString withSearchPath(const QString& uri, const QString& schema)
{
    const QChar separator = uri.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
    return uri + separator + QStringLiteral("options=-csearch_path%3D") + schema;
}

} // namespace

QString ServerFixture::unavailableReason(const QString& backend)
{
    if (backend == QLatin1String(Postgres) && postgresUri().isEmpty())
        return QStringLiteral("NELVO_TEST_PG_URI is not set: the PostgreSQL half runs under "
                              "tools/with-postgres.sh (tools/test.sh does that)");
    return {};
}

ServerFixture::~ServerFixture()
{
    m_server.reset();
    if (!m_schema.isEmpty()) {
        QString ignored;
        runOnPostgres(QStringLiteral("drop schema if exists %1 cascade").arg(m_schema), ignored);
    }
}

bool ServerFixture::open(const QString& backend, const server::DataServerOptions& options,
                         QString& error)
{
    if (backend == QLatin1String(Postgres)) {
        m_schema = QStringLiteral("nelvo_test_%1")
                       .arg(QUuid::createUuid().toString(QUuid::Id128).left(16));
        if (!runOnPostgres(QStringLiteral("create schema %1").arg(m_schema), error))
            return false;
        m_database = withSearchPath(postgresUri(), m_schema);
    } else {
        m_database = m_folder.filePath(QStringLiteral("test.sqlite"));
    }
    m_server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(m_database, options, &error));
    return bool(m_server);
}

bool ServerCall::queryData(server::DataServer* server, const QString& sql, platform::Variant& data)
{
    platform::DispatchArguments arguments{platform::DispatchArgument::byValue(sql),
                                          platform::DispatchArgument::byRef(data)};
    return server->invoke(platform::CoorDisp::QueryData, arguments).toBool();
}

bool ServerCall::executeBatch(server::DataServer* server, const QString& batch,
                              platform::Variant* payload)
{
    platform::Variant value(batch);
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(value)};
    const bool ok = server->invoke(platform::CoorDisp::ExecuteBatch, arguments).toBool();
    if (payload)
        *payload = value;
    return ok;
}

platform::Variant ServerCall::byRefCall(server::DataServer* server, int32_t id,
                                        platform::Variant& value)
{
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(value)};
    return server->invoke(id, arguments);
}
