#include "Importer.h"

#include "Console.h"
#include "CsvReader.h"
#include "ExitStatus.h"
#include "ImportKeys.h"
#include "ServerSession.h"
#include "server/WorkTransaction.h"

#include <QFile>

namespace admin {

namespace {

// The tables whose changes by others would make an import's checks untrue.
QStringList lockedTables(AdminTable table)
{
    switch (table) {
    case AdminTable::Areas:
        return {QStringLiteral("tbQyda")};
    case AdminTable::StorageAreas:
        return {QStringLiteral("tbCCQyda")};
    case AdminTable::Mappings:
        break;
    }
    return {QStringLiteral("tbQyda"), QStringLiteral("tbCCQyda"), QStringLiteral("tbqydz")};
}

} // namespace

Importer::Importer(ServerSession& session, Console& console)
    : m_session(session), m_console(console)
{
}

Importer::~Importer() = default;

int Importer::run(const ImportRequest& request)
{
    m_report.emplace(m_console, request.file);
    const QString noun = adminTableRowNoun(request.table, true);
    const QString nothing = request.dryRun ? QStringLiteral("dry run, nothing changed")
                                           : QStringLiteral("nothing added");
    QFile file(request.file);
    if (!file.open(QIODevice::ReadOnly)) {
        m_console.warn(QStringLiteral("cannot read %1: %2").arg(request.file, file.errorString()));
        return ExitUsage;
    }
    CsvReader reader(file);
    if (!readHeader(reader, request)) {
        m_console.warn(QStringLiteral("%1: wrong header; %2").arg(request.file, nothing));
        return ExitRefused;
    }

    QString error;
    m_work = m_session.server()->beginWork(
        request.dryRun ? QStringList() : lockedTables(request.table), &error);
    if (!m_work) {
        m_console.warn(QStringLiteral("cannot lock the database for the import, nothing added: %1")
                           .arg(error));
        return ExitRefused;
    }
    m_keys = std::make_unique<ImportKeys>(*m_work);
    if (!m_keys->prepare(error)) {
        m_console.warn(QStringLiteral("cannot read the database: %1").arg(error));
        return ExitUsage;
    }
    m_validator = RowValidator::create(request.table);

    CsvRecord record;
    while (reader.next(record)) {
        if (record.blank)
            continue;
        ++m_recordCount;
        takeRecord(record, request);
        if (m_part.size() + m_partIssues.size() >= PartRows) {
            if (const int status = finishPart(request); status != ExitSuccess)
                return status;
        }
        if (m_recordCount % ProgressStep == 0)
            m_console.warn(QStringLiteral("%1: checked %2 rows (%3% of the file)")
                               .arg(request.file)
                               .arg(m_recordCount)
                               .arg(file.size() > 0 ? file.pos() * 100 / file.size() : 100));
    }
    if (const int status = finishPart(request); status != ExitSuccess)
        return status;

    if (m_report->badRows() > 0) {
        m_report->finish();
        if (m_otherEncodingFits)
            m_console.warn(QStringLiteral("%1: the file reads as GB18030 text; try --encoding "
                                          "gb18030")
                               .arg(request.file));
        m_console.warn(QStringLiteral("%1: %2 bad of %3 rows; %4")
                           .arg(request.file)
                           .arg(m_report->badRows())
                           .arg(m_recordCount)
                           .arg(nothing));
        return ExitRefused;
    }
    if (request.dryRun) {
        m_console.print(
            QStringLiteral("%1: %2 rows valid, would add %2 %3 to %4; dry run, nothing changed")
                .arg(request.file)
                .arg(m_recordCount)
                .arg(noun, m_session.shownName()));
        return ExitSuccess;
    }
    const QString description = QStringLiteral("nelvo-admin import %1 %2: %3 rows")
                                    .arg(adminTableSqlName(request.table), request.file)
                                    .arg(m_recordCount);
    if (!m_work->commit(description, &error)) {
        m_console.warn(QStringLiteral("%1: the server refused the rows, nothing added: %2")
                           .arg(request.file, error));
        return ExitRefused;
    }
    m_console.print(QStringLiteral("%1: added %2 %3 to %4")
                        .arg(request.file)
                        .arg(m_recordCount)
                        .arg(noun, m_session.shownName()));
    return ExitSuccess;
}

bool Importer::readHeader(CsvReader& reader, const ImportRequest& request)
{
    const QString header = adminTableColumns(request.table).join(QLatin1Char(','));
    CsvRecord record;
    while (reader.next(record)) {
        if (record.blank)
            continue;
        if (!record.error.isEmpty()) {
            m_report->add({{record.line, QString(), record.error}});
            return false;
        }
        QString found;
        request.encoding.decode(record.fields.join(','), found);
        if (found == header)
            return true;
        m_report->add(
            {{record.line, QStringLiteral("header"),
              QStringLiteral("expected \"%1\", found %2").arg(header, quotedValue(found))}});
        return false;
    }
    m_report->add(
        {{1, QStringLiteral("header"), QStringLiteral("empty file, expected \"%1\"").arg(header)}});
    return false;
}

void Importer::takeRecord(const CsvRecord& record, const ImportRequest& request)
{
    const QStringList columns = adminTableColumns(request.table);
    if (!record.error.isEmpty()) {
        m_partIssues.append({record.line, columns.value(record.errorField), record.error});
        return;
    }
    if (record.fields.size() != columns.size()) {
        m_partIssues.append({record.line, QString(),
                             QStringLiteral("%1 fields, expected %2 (%3)")
                                 .arg(record.fields.size())
                                 .arg(columns.size())
                                 .arg(columns.join(QLatin1Char(',')))});
        return;
    }
    ImportRow row{record.line, {}};
    row.values.reserve(columns.size());
    bool decoded = true;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        QString value;
        if (!request.encoding.decode(record.fields.at(i), value)) {
            m_partIssues.append({record.line, columns.at(i),
                                 QStringLiteral("not valid %1 text").arg(request.encoding.name())});
            QString ignored;
            if (request.encoding.kind() == TextEncoding::Kind::Utf8 &&
                TextEncoding(TextEncoding::Kind::Gb18030).decode(record.fields.at(i), ignored))
                m_otherEncodingFits = true;
            decoded = false;
        }
        row.values << value;
    }
    if (decoded)
        m_part << row;
}

int Importer::finishPart(const ImportRequest& request)
{
    QString error;
    if (!m_validator->check(m_part, *m_work, *m_keys, m_partIssues, error)) {
        m_console.warn(QStringLiteral("cannot read the database: %1").arg(error));
        return ExitUsage;
    }
    m_report->add(m_partIssues);
    if (m_report->badRows() == 0 && !request.dryRun && !m_part.isEmpty()) {
        QList<QStringList> values;
        values.reserve(m_part.size());
        for (const ImportRow& row : std::as_const(m_part))
            values << row.values;
        if (!m_work->execute(insertStatements(request.table, values), &error)) {
            m_console.warn(QStringLiteral("%1: the server refused the rows, nothing added: %2")
                               .arg(request.file, error));
            return ExitRefused;
        }
    }
    m_part.clear();
    m_partIssues.clear();
    return ExitSuccess;
}

} // namespace admin
