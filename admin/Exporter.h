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
};

// Writes one table as CSV: a header row with the column names, then one record per row,
// ordered by key. A file is replaced only when it was written whole.
class Exporter {
public:
    Exporter(ServerSession& session, Console& console) : m_session(session), m_console(console) {}

    // Returns the exit status: success, or ExitUsage when the database cannot be read or
    // the file cannot be written.
    int run(const ExportRequest& request);

    // The query of a table, kind filter included ("" for all kinds).
    static QString selectText(AdminTable table, const QString& kind);

private:
    ServerSession& m_session;
    Console& m_console;
};

} // namespace admin
