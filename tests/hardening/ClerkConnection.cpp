#include "ClerkConnection.h"

#include "../support/ScratchPostgres.h"
#include "platform/CoorDisp.h"
#include "platform/DataPacket.h"

#include <QUrl>

namespace {

platform::DispatchRef<server::DataServer>
openServer(const QString& database, const server::DataServerOptions& options, QString& error)
{
    return platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(database, options, &error));
}

} // namespace

QStringList runAsClient(server::DataServer& server, const QString& text, bool query)
{
    platform::Variant value(text);
    platform::Variant data;
    platform::DispatchArguments arguments =
        query ? platform::DispatchArguments{platform::DispatchArgument::byValue(text),
                                            platform::DispatchArgument::byRef(data)}
              : platform::DispatchArguments{platform::DispatchArgument::byRef(value)};
    if (server
            .invoke(query ? platform::CoorDisp::QueryData : platform::CoorDisp::ExecuteBatch,
                    arguments)
            .toBool())
        return {};
    const platform::Variant& payload = query ? data : value;
    QStringList errors;
    for (const platform::Variant& element : payload.elements())
        errors << element.toText();
    return errors.isEmpty() ? QStringList{QStringLiteral("<no error list>")} : errors;
}

ClerkConnection::~ClerkConnection()
{
    m_clerk = {};
    m_owner = {};
    if (!m_login.isEmpty()) {
        QString ignored;
        ScratchPostgres::run(QStringLiteral("drop role if exists %1").arg(m_login), ignored);
    }
}

bool ClerkConnection::create(const QString& backend, const QString& script,
                             const QString& clerkOperator, QString& error)
{
    if (!m_database.create(backend, error))
        return false;
    server::DataServerOptions ownerOptions;
    ownerOptions.operatorCode = QStringLiteral("0001");
    ownerOptions.createSchema = true;
    m_owner = openServer(m_database.database(), ownerOptions, error);
    if (!m_owner || !m_owner->executeScript(script, &error))
        return false;
    m_clerkDatabase = m_database.database();
    if (backend == QLatin1String(ScratchDatabase::Postgres)) {
        m_login = ScratchPostgres::uniqueName(QStringLiteral("clerk_")).toLower();
        if (!ScratchPostgres::run(QStringLiteral("create role %1 login in role %2")
                                      .arg(m_login, ownerOptions.clerkRole),
                                  error))
            return false;
        QUrl uri(m_database.database());
        uri.setUserName(m_login);
        m_clerkDatabase = uri.toString();
    }
    m_clerk = connectClerk(clerkOperator, error);
    return bool(m_clerk);
}

platform::DispatchRef<server::DataServer> ClerkConnection::connectClerk(const QString& operatorCode,
                                                                        QString& error) const
{
    server::DataServerOptions options;
    options.operatorCode = operatorCode;
    // The embedded file is its own owner; a clerk's login never sets up a schema.
    options.createSchema = !isPostgres();
    return openServer(m_clerkDatabase, options, error);
}

QStringList ClerkConnection::rows(const QString& sql) const
{
    platform::Variant data;
    platform::DispatchArguments arguments{platform::DispatchArgument::byValue(sql),
                                          platform::DispatchArgument::byRef(data)};
    if (!m_owner->invoke(platform::CoorDisp::QueryData, arguments).toBool())
        return {QStringLiteral("<cannot read: %1>").arg(sql)};
    QStringList lines;
    const platform::DataTable table = platform::decodePacket(data.bytes());
    for (const QList<platform::Variant>& row : table.rows) {
        QStringList cells;
        for (const platform::Variant& cell : row)
            cells << (cell.isNull() ? QStringLiteral("<null>") : cell.toText());
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

QString ClerkConnection::dump() const
{
    QStringList lines;
    QStringList tables;
    if (isPostgres()) {
        lines << rows(QStringLiteral(
            "select table_name, column_name, data_type, is_nullable from "
            "information_schema.columns where table_schema = current_schema() order by 1, 2"));
        lines << rows(QStringLiteral("select tgrelid::regclass::text, tgname, tgenabled from "
                                     "pg_trigger where not tgisinternal order by 1, 2"));
        lines << rows(QStringLiteral("select proname, md5(prosrc), prosecdef from pg_proc where "
                                     "pronamespace = current_schema()::regnamespace order by 1"));
        lines << rows(QStringLiteral("select conname, pg_get_constraintdef(oid) from pg_constraint "
                                     "where connamespace = current_schema()::regnamespace "
                                     "order by 1"));
        lines << rows(QStringLiteral("select grantee, table_name, privilege_type from "
                                     "information_schema.role_table_grants where table_schema = "
                                     "current_schema() order by 1, 2, 3"));
        lines << rows(QStringLiteral("select rolname from pg_roles where rolsuper order by 1"));
        tables = rows(QStringLiteral("select table_name from information_schema.tables where "
                                     "table_schema = current_schema() and table_type = 'BASE "
                                     "TABLE' order by 1"));
    } else {
        lines << rows(QStringLiteral(
            "select type, name, tbl_name, sql from sqlite_master order by type, name"));
        tables = rows(QStringLiteral("select name from sqlite_master where type = 'table' and "
                                     "name not like 'sqlite_%' order by name"));
    }
    for (const QString& table : std::as_const(tables)) {
        lines << QStringLiteral("== %1").arg(table);
        lines << rows(QStringLiteral("select * from %1 order by 1").arg(table));
    }
    return lines.join(QLatin1Char('\n'));
}
