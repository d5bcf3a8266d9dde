#pragma once

#include <QString>
#include <QUuid>
#include <libpq-fe.h>

// The PostgreSQL server the tests may use, named by NELVO_TEST_PG_URI (tools/with-postgres.sh
// sets it), reached directly, outside any data server: for creating and dropping the
// scratch databases and schemas of single tests.
namespace ScratchPostgres {

// The server's URI; empty when no server is available.
inline QString serverUri()
{
    return qEnvironmentVariable("NELVO_TEST_PG_URI");
}

// A name no other test uses at the same time: prefix and a random part.
inline QString uniqueName(const QString& prefix)
{
    return prefix + QUuid::createUuid().toString(QUuid::Id128).left(16);
}

// Runs one statement on the server's own database, with notices below warnings kept quiet;
// false with error. Sent alone, so statements that refuse a transaction block (create
// database) run too.
inline bool run(const QString& sql, QString& error)
{
    PGconn* connection = PQconnectdb(serverUri().toUtf8().constData());
    bool ok = PQstatus(connection) == CONNECTION_OK;
    if (ok) {
        PQclear(PQexec(connection, "set client_min_messages = warning"));
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

} // namespace ScratchPostgres
