#pragma once

#include <QList>
#include <QPair>
#include <QString>

// A PostgreSQL server as the connection dialog edits it. An empty part is left to libpq:
// the environment (PGHOST, PGPORT, PGDATABASE, PGUSER), the service file named by PGSERVICE,
// and ~/.pgpass for the password.
struct PostgresTarget {
    QString host;
    QString port;
    QString database;
    QString user;
    // Every further option of the connection (sslmode, service, ...), never the password.
    QList<QPair<QString, QString>> otherOptions;

    // postgresql://user@host:port/database?option=value, every part percent-encoded.
    QString uri() const;

    // Reads a postgresql:// URI or a "key=value" connection text. The password in it is
    // dropped. False when libpq cannot read the text.
    static bool parse(const QString& connection, PostgresTarget& target);
};

// The database as it may be shown or remembered: a SQLite path as it is, a PostgreSQL URI
// rebuilt without its password (an unreadable one as just "postgresql://").
QString databaseWithoutPassword(const QString& database);
