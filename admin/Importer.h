#pragma once

#include "AdminTable.h"
#include "RowValidator.h"
#include "TextEncoding.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace admin {

class Console;
class ServerSession;

struct ImportRequest {
    AdminTable table = AdminTable::Areas;
    QString file;
    TextEncoding encoding;
    bool dryRun = false;
};

// Imports a CSV file into one table: reads and checks every row first, reports each bad
// row as "FILE:LINE: column NAME: reason", and only with no bad row sends all rows as one
// batch (all or nothing). A dry run reports the same and changes nothing.
class Importer {
public:
    // Rows above which progress lines go to the error device.
    static constexpr int ProgressStep = 10000;

    Importer(ServerSession& session, Console& console) : m_session(session), m_console(console) {}

    // Returns the exit status: success, ExitRefused for bad rows or a refused batch,
    // ExitUsage when the file cannot be read or the database cannot be queried.
    int run(const ImportRequest& request);

private:
    struct Row {
        int line;
        QStringList values;
    };
    // Reads the header and the rows; bad records go to issues. False (with a message
    // written) when the file cannot be read.
    bool readFile(const ImportRequest& request, QList<Row>& rows, QList<RowIssue>& issues);
    void report(const QString& file, const QList<RowIssue>& issues);

    ServerSession& m_session;
    Console& m_console;
    bool m_headerMissing = false;
    qsizetype m_recordCount = 0; // records after the header, bad ones included
};

} // namespace admin
