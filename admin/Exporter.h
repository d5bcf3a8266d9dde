#pragma once

#include "AdminTable.h"
#include "TextEncoding.h"

#include <QString>

namespace admin {

class Console;
class ServerSession;

struct ExportRequest {
    AdminTable table = AdminTable::Areas;
    QString file; // "-" for the output device
    QString kind; // only rows of this kind (areas, mappings); empty for all
    TextEncoding encoding;
    QString databaseFile; // the SQLite file the session has open; empty on PostgreSQL
    bool strict = false;  // refuse to write when a row would not import
};

// Writes one table as CSV: a header row with the column names, then one record per row,
// ordered by key. A file is replaced only when it was written whole, and never when it is
// the open database. A NULL and an empty text are both written as an empty field; each
// row that import would refuse (an empty or NULL name, a line break in a name, a kind in
// lower case...) is reported with its line and key, and with strict nothing is written.
class Exporter {
public:
    Exporter(ServerSession& session, Console& console) : m_session(session), m_console(console) {}

    // Returns the exit status: success (rows that would not import reported), ExitRefused
    // for such rows when strict, ExitUsage when the database cannot be read or the file
    // cannot be written.
    int run(const ExportRequest& request);

    // The query of a table, kind filter included ("" for all kinds).
    static QString selectText(AdminTable table, const QString& kind);

private:
    // A row as messages name it: its code, or kind/storage area for a mapping.
    static QString rowKey(AdminTable table, const QStringList& values);

    ServerSession& m_session;
    Console& m_console;
};

} // namespace admin
