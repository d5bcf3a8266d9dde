#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh database for one test: a SQLite file in a temporary folder, or a new database on
// the PostgreSQL server that NELVO_TEST_PG_URI names, dropped again when destroyed.
class ScratchDatabase {
public:
    static constexpr const char* Sqlite = "sqlite";
    static constexpr const char* Postgres = "postgresql";

    // Why the backend cannot be used here (empty when it can).
    static QString unavailableReason(const QString& backend);

    ScratchDatabase() = default;
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    // Creates the database; false with error.
    bool create(const QString& backend, QString& error);
    // PostgreSQL only: makes setting ("name = value") the default of every later session on
    // the database; false with error.
    bool setDefault(const QString& setting, QString& error);
    // PostgreSQL only: ends every session on the database (as a server restart would).
    bool endSessions(QString& error);
    // What DataServer::open takes: the file path or the postgresql:// URI.
    const QString& database() const { return m_database; }

private:
    QTemporaryDir m_folder;
    QString m_postgresName;
    QString m_database;
};
