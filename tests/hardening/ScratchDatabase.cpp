#include "ScratchDatabase.h"

#include <QUrl>
#include <QUuid>
#include <libpq-fe.h>

namespace {

QString serverUri()
{
    return qEnvironmentVariable("NELVO_TEST_PG_URI");
}

// Runs one statement on the server's own database, outside any data server.
bool runOnServer(const QString& sql, QString& error)
{
    PGconn* connection = PQconnectdb(serverUri().toUtf8().constData());
    bool ok = PQstatus(connection) == CONNECTION_OK;
    if (ok) {
        PGresult* result = PQexec(connection, sql.toUtf8().constData());
        ok =
            PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
        PQclear(result);
    }
    if (!ok)
        error = QString::fromUtf8(PQerrorMessage(connection));
    PQfinish(connection);
    return ok;
}

} // namespace

QString ScratchDatabase::unavailableReason(const QString& backend)
{
    if (backend == QLatin1String(Postgres) && serverUri().isEmpty())
        return QStringLiteral("NELVO_TEST_PG_URI is not set (tools/with-postgres.sh sets it)");
    return {};
}

ScratchDatabase::~ScratchDatabase()
{
    if (m_postgresName.isEmpty())
        return;
    QString ignored;
    // A killed client's session may still be open: end it with the database.
    runOnServer(QStringLiteral("drop database if exists %1 with (force)").arg(m_postgresName),
                ignored);
}

bool ScratchDatabase::create(const QString& backend, QString& error)
{
    if (backend != QLatin1String(Postgres)) {
        if (!m_folder.isValid()) {
            error = QStringLiteral("no temporary folder");
            return false;
        }
        m_database = m_folder.filePath(QStringLiteral("scratch.db"));
        return true;
    }
    const QString name = QStringLiteral("nelvo_hardening_%1")
                             .arg(QUuid::createUuid().toString(QUuid::Id128).left(16));
    if (!runOnServer(QStringLiteral("create database %1").arg(name), error))
        return false;
    m_postgresName = name;
    QUrl uri(serverUri());
    uri.setPath(QLatin1Char('/') + name);
    m_database = uri.toString();
    return true;
}

bool ScratchDatabase::setDefault(const QString& setting, QString& error)
{
    if (m_postgresName.isEmpty()) {
        error = QStringLiteral("not a PostgreSQL database");
        return false;
    }
    return runOnServer(QStringLiteral("alter database %1 set %2").arg(m_postgresName, setting),
                       error);
}

bool ScratchDatabase::endSessions(QString& error)
{
    if (m_postgresName.isEmpty()) {
        error = QStringLiteral("not a PostgreSQL database");
        return false;
    }
    return runOnServer(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity"
                                      " where datname = '%1' and pid <> pg_backend_pid()")
                           .arg(m_postgresName),
                       error);
}
