#include "ServerFixture.h"

#include "platform/CoorDisp.h"

#include "../support/ScratchPostgres.h"

#include <QCoreApplication>

namespace {

QString withSearchPath(const QString& uri, const QString& schema)
{
    const QChar separator = uri.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
    return uri + separator + QStringLiteral("options=-csearch_path%3D") + schema;
}

} // namespace

QString ServerFixture::unavailableReason(const QString& backend)
{
    if (backend == QLatin1String(Postgres) && ScratchPostgres::serverUri().isEmpty())
        return QStringLiteral("NELVO_TEST_PG_URI is not set: the PostgreSQL half runs under "
                              "tools/with-postgres.sh (tools/test.sh does that)");
    return {};
}

ServerFixture::~ServerFixture()
{
    m_server.reset();
    if (!m_schema.isEmpty()) {
        QString ignored;
        ScratchPostgres::run(QStringLiteral("drop schema if exists %1 cascade").arg(m_schema),
                             ignored);
    }
}

bool ServerFixture::open(const QString& backend, const server::DataServerOptions& options,
                         QString& error)
{
    if (backend == QLatin1String(Postgres)) {
        m_schema = ScratchPostgres::uniqueName(QStringLiteral("nelvo_test_"));
        if (!ScratchPostgres::run(QStringLiteral("create schema %1").arg(m_schema), error))
            return false;
        m_database = withSearchPath(ScratchPostgres::serverUri(), m_schema);
    } else {
        m_database = m_folder.filePath(QStringLiteral("test.sqlite"));
    }
    server::DataServerOptions creating = options;
    creating.createSchema = true;
    m_server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(m_database, creating, &error));
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
