#include "Importer.h"

#include "Console.h"
#include "CsvReader.h"
#include "DatabaseSnapshot.h"
#include "ExitStatus.h"
#include "ServerSession.h"

#include <QFile>
#include <QSet>

namespace admin {

int Importer::run(const ImportRequest& request)
{
    QList<Row> rows;
    QList<RowIssue> issues;
    if (!readFile(request, rows, issues))
        return ExitUsage;
    const QString noun = adminTableRowNoun(request.table, true);
    const QString nothing = request.dryRun ? QStringLiteral("dry run, nothing changed")
                                           : QStringLiteral("nothing added");
    if (m_headerMissing) {
        report(request.file, issues);
        m_console.warn(QStringLiteral("%1: wrong header; %2").arg(request.file, nothing));
        return ExitRefused;
    }

    DatabaseSnapshot snapshot;
    QString error;
    if (!snapshot.load(m_session, request.table, error)) {
        m_console.warn(QStringLiteral("cannot read the database: %1").arg(error));
        return ExitUsage;
    }
    const bool showProgress = m_recordCount > ProgressStep;
    const std::unique_ptr<RowValidator> validator = RowValidator::create(request.table, snapshot);
    validator->expectRows(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        validator->check(rows.at(i).values, rows.at(i).line, issues);
        if (showProgress && (i + 1) % ProgressStep == 0)
            m_console.warn(QStringLiteral("%1: checked %2 of %3 rows")
                               .arg(request.file)
                               .arg(i + 1)
                               .arg(rows.size()));
    }
    QSet<int> badLines;
    for (const RowIssue& issue : issues)
        badLines.insert(issue.line);
    const qsizetype badRows = badLines.size();
    const qsizetype totalRows = m_recordCount;

    if (badRows > 0) {
        report(request.file, issues);
        m_console.warn(QStringLiteral("%1: %2 bad of %3 rows; %4")
                           .arg(request.file)
                           .arg(badRows)
                           .arg(totalRows)
                           .arg(nothing));
        return ExitRefused;
    }
    if (request.dryRun) {
        m_console.print(
            QStringLiteral("%1: %2 rows valid, would add %2 %3; dry run, nothing changed")
                .arg(request.file)
                .arg(rows.size())
                .arg(noun));
        return ExitSuccess;
    }
    QList<QStringList> values;
    values.reserve(rows.size());
    for (const Row& row : rows)
        values << row.values;
    if (showProgress)
        m_console.warn(
            QStringLiteral("%1: adding %2 rows in one batch").arg(request.file).arg(rows.size()));
    if (!values.isEmpty() && !m_session.execute(insertStatements(request.table, values), error)) {
        m_console.warn(QStringLiteral("%1: the server refused the batch, nothing added: %2")
                           .arg(request.file, error));
        return ExitRefused;
    }
    m_console.print(QStringLiteral("%1: added %2 %3").arg(request.file).arg(rows.size()).arg(noun));
    return ExitSuccess;
}

bool Importer::readFile(const ImportRequest& request, QList<Row>& rows, QList<RowIssue>& issues)
{
    QFile file(request.file);
    if (!file.open(QIODevice::ReadOnly)) {
        m_console.warn(QStringLiteral("cannot read %1: %2").arg(request.file, file.errorString()));
        return false;
    }
    CsvReader reader(file.readAll());
    const QStringList columns = adminTableColumns(request.table);
    const QString header = columns.join(QLatin1Char(','));
    CsvRecord record;
    bool haveHeader = false;
    while (reader.next(record)) {
        if (record.blank)
            continue;
        if (haveHeader)
            ++m_recordCount;
        if (!record.error.isEmpty()) {
            issues.append({record.line, QString(), record.error});
            if (!haveHeader) {
                m_headerMissing = true;
                return true;
            }
            continue;
        }
        if (!haveHeader) {
            QString found;
            request.encoding.decode(record.fields.join(','), found);
            if (found != header) {
                issues.append({record.line, QStringLiteral("header"),
                               QStringLiteral("expected \"%1\", found \"%2\"").arg(header, found)});
                m_headerMissing = true;
                return true;
            }
            haveHeader = true;
            continue;
        }
        if (record.fields.size() != columns.size()) {
            issues.append({record.line, QString(),
                           QStringLiteral("%1 fields, expected %2 (%3)")
                               .arg(record.fields.size())
                               .arg(columns.size())
                               .arg(header)});
            continue;
        }
        Row row{record.line, {}};
        row.values.reserve(columns.size());
        bool decoded = true;
        for (qsizetype i = 0; i < columns.size(); ++i) {
            QString value;
            if (!request.encoding.decode(record.fields.at(i), value)) {
                issues.append({record.line, columns.at(i),
                               QStringLiteral("not valid %1 text").arg(request.encoding.name())});
                decoded = false;
            }
            row.values << value;
        }
        if (decoded)
            rows << row;
    }
    if (!haveHeader) {
        issues.append({1, QStringLiteral("header"),
                       QStringLiteral("empty file, expected \"%1\"").arg(header)});
        m_headerMissing = true;
    }
    return true;
}

void Importer::report(const QString& file, const QList<RowIssue>& issues)
{
    QList<RowIssue> ordered = issues;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const RowIssue& a, const RowIssue& b) { return a.line < b.line; });
    for (const RowIssue& issue : ordered) {
        if (issue.column.isEmpty())
            m_console.warn(QStringLiteral("%1:%2: %3").arg(file).arg(issue.line).arg(issue.reason));
        else if (issue.column == QLatin1String("header"))
            m_console.warn(
                QStringLiteral("%1:%2: header: %3").arg(file).arg(issue.line).arg(issue.reason));
        else
            m_console.warn(QStringLiteral("%1:%2: column %3: %4")
                               .arg(file)
                               .arg(issue.line)
                               .arg(issue.column, issue.reason));
    }
}

} // namespace admin
