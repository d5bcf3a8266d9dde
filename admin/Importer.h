#pragma once

#include "AdminTable.h"
#include "IssueReport.h"
#include "RowValidator.h"
#include "TextEncoding.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace server {
class WorkTransaction;
}

namespace admin {

class Console;
class CsvReader;
class ImportKeys;
class ServerSession;

struct ImportRequest {
    AdminTable table = AdminTable::Areas;
    QString file;
    TextEncoding encoding;
    bool dryRun = false;
};

// Imports a CSV file into one table, all or nothing, in one transaction that holds the
// tables locked against other writers from the first check to the commit, so that what
// the checks found stays true. The file is read and checked a part at a time against the
// database and the rows before it, and each good part is added at once, so memory stays
// the same whatever the size of the file. Each bad row is reported as "FILE:LINE: column
// NAME: reason" (IssueReport caps them); one bad row undoes everything. A dry run checks
// the same without the lock and changes nothing.
class Importer {
public:
    // Records above which progress lines go to the error device, and how often.
    static constexpr int ProgressStep = 10000;
    // Rows checked and added together.
    static constexpr int PartRows = 1000;

    Importer(ServerSession& session, Console& console);
    ~Importer();

    // Returns the exit status: success, ExitRefused for bad rows, a refused batch or a lock
    // that could not be taken, ExitUsage when the file cannot be read or the database
    // cannot be queried.
    int run(const ImportRequest& request);

private:
    // Reads the header; false (with the issue reported) when it is not the table's.
    bool readHeader(CsvReader& reader, const ImportRequest& request);
    // Turns a record into a row of part, or issues into m_partIssues.
    void takeRecord(const struct CsvRecord& record, const ImportRequest& request);
    // Checks the part, reports its issues and, while no row was bad, adds its rows. The
    // exit status when the import cannot go on, or ExitSuccess.
    int finishPart(const ImportRequest& request);

    ServerSession& m_session;
    Console& m_console;
    std::optional<IssueReport> m_report;
    std::unique_ptr<server::WorkTransaction> m_work;
    std::unique_ptr<ImportKeys> m_keys;
    std::unique_ptr<RowValidator> m_validator;
    QList<ImportRow> m_part;
    QList<RowIssue> m_partIssues;
    qsizetype m_recordCount = 0;      // records after the header, bad ones included
    bool m_otherEncodingFits = false; // a row that is not UTF-8 reads as GB18030
};

} // namespace admin
