#include "ScratchDatabase.h"

#include "../support/ScratchPostgres.h"

#include <QUrl>

QString ScratchDatabase::unavailableReason(const QString& backend)
{
    if (backend == QLatin1String(Postgres) && ScratchPostgres::serverUri().isEmpty())
        return QStringLiteral("NELVO_TEST_PG_URI is not set (tools/with-postgres.sh sets it)");
    return {};
}

ScratchDatabase::~ScratchDatabase()
{
    if (m_postgresName.isEmpty())
        return;
    QString ignored;
    // A killed client's session may still be open: end it with the database.
    ScratchPostgres::run(
        QStringLiteral("drop database if exists %1 with (force)").arg(m_postgresName), ignored);
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
    const QString name = ScratchPostgres::uniqueName(QStringLiteral("nelvo_hardening_"));
    if (!ScratchPostgres::run(QStringLiteral("create database %1").arg(name), error))
        return false;
    m_postgresName = name;
    QUrl uri(ScratchPostgres::serverUri());
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
    return ScratchPostgres::run(
        QStringLiteral("alter database %1 set %2").arg(m_postgresName, setting), error);
}

bool ScratchDatabase::endSessions(QString& error)
{
    if (m_postgresName.isEmpty()) {
        error = QStringLiteral("not a PostgreSQL database");
        return false;
    }
    return ScratchPostgres::run(
        QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity"
                       " where datname = '%1' and pid <> pg_backend_pid()")
            .arg(m_postgresName),
        error);
}
