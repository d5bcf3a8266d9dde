#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace server {
class WorkTransaction;
}

namespace admin {

// The keys an import has accepted so far, each with the line that brought it (and, for a
// mapping, its area), kept in a temporary table of the import's transaction rather than
// in memory, so that a file of millions of rows needs no more memory than one of a hundred.
class ImportKeys {
public:
    struct Entry {
        int line = 0;
        QString area; // the area of a mapping; empty otherwise
    };

    explicit ImportKeys(server::WorkTransaction& work) : m_work(work) {}

    // Makes the table empty (creating it when missing). False with error on failure.
    bool prepare(QString& error);
    // The entries of those of keys that were accepted before. False with error on failure.
    bool find(const QStringList& keys, QHash<QString, Entry>& found, QString& error);
    // Accepts keys (with their entries). False with error on failure.
    bool add(const QList<std::pair<QString, Entry>>& entries, QString& error);

private:
    server::WorkTransaction& m_work;
};

// values as a list of SQL literals for "in (...)": each single-quoted, quotes doubled.
QString sqlLiteralList(const QStringList& values);

} // namespace admin
