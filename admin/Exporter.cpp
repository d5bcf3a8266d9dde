#include "Exporter.h"

#include "Console.h"
#include "CsvWriter.h"
#include "ExitStatus.h"
#include "IssueReport.h"
#include "RowValidator.h"
#include "SameFile.h"
#include "ServerSession.h"
#include "area/AreaModel.h"

#include <QSaveFile>
#include <algorithm>

namespace admin {

QString Exporter::selectText(AdminTable table, const QString& kind)
{
    QString text =
        QStringLiteral("select %1 from %2")
            .arg(adminTableColumns(table).join(QLatin1String(", ")), adminTableSqlName(table));
    // The window shows a stored kind under its root ignoring letter case; so does the filter.
    if (!kind.isEmpty())
        text += QStringLiteral(" where upper(f_qylx) = '%1'").arg(EscapeSqlLiteral(kind));
    return text;
}

int Exporter::run(const ExportRequest& request)
{
    const bool toOutput = request.file == QLatin1String("-");
    if (!toOutput && !request.databaseFile.isEmpty() &&
        isDatabaseFile(request.file, request.databaseFile)) {
        m_console.warn(QStringLiteral("%1 is the database itself (or one of its files); "
                                      "nothing written")
                           .arg(request.file));
        return ExitUsage;
    }
    platform::ClientDataset rows;
    QString error;
    if (!m_session.query(selectText(request.table, request.kind), rows, error)) {
        m_console.warn(QStringLiteral("cannot read the database: %1").arg(error));
        return ExitUsage;
    }
    const QStringList columns = adminTableColumns(request.table);
    struct Record {
        QStringList values;
        QList<bool> nulls;
    };
    QList<Record> records;
    records.reserve(rows.recordCount());
    for (rows.first(); !rows.eof(); rows.next()) {
        Record record;
        for (const QString& column : columns) {
            const platform::Variant value = rows.fieldValue(column);
            record.values << (value.isNull() ? QString() : value.toText());
            record.nulls << value.isNull();
        }
        records << record;
    }
    // Sorted here, not by the database, so that both backends give the same file.
    const QList<int> key = adminTableSortColumns(request.table);
    std::sort(records.begin(), records.end(), [&key](const Record& a, const Record& b) {
        for (int column : key) {
            const int order = QString::compare(a.values.at(column), b.values.at(column));
            if (order != 0)
                return order < 0;
        }
        return false;
    });

    // Each row is checked by the rules of import, at the line it gets in the file.
    const QString shownFile = toOutput ? QStringLiteral("standard output") : request.file;
    IssueReport report(m_console, shownFile);
    QString text = CsvWriter::record(columns);
    int line = 2;
    for (const Record& record : std::as_const(records)) {
        QList<RowIssue> issues;
        RowValidator::checkValues(request.table, record.values, line, issues);
        for (RowIssue& issue : issues) {
            const qsizetype column = columns.indexOf(issue.column);
            if (column >= 0 && record.nulls.value(column))
                issue.reason = QStringLiteral("NULL, written as an empty field");
            issue.reason += QStringLiteral(" (%1 %2); import refuses it")
                                .arg(adminTableRowNoun(request.table, false),
                                     rowKey(request.table, record.values));
        }
        report.add(issues);
        const QString written = CsvWriter::record(record.values);
        line += int(written.count(u'\n'));
        text += written;
    }
    report.finish();
    const QString noun = adminTableRowNoun(request.table, true);
    if (report.badRows() > 0 && request.strict) {
        m_console.warn(QStringLiteral("%1: %2 rows would not import; nothing written (--strict)")
                           .arg(shownFile)
                           .arg(report.badRows()));
        return ExitRefused;
    }
    const QByteArray bytes = request.encoding.encode(text);
    if (toOutput) {
        if (!m_console.writeOutput(bytes)) {
            m_console.warn(QStringLiteral("cannot write to standard output"));
            return ExitUsage;
        }
    } else {
        QSaveFile file(request.file);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit()) {
            m_console.warn(
                QStringLiteral("cannot write %1: %2").arg(request.file, file.errorString()));
            return ExitUsage;
        }
        m_console.warn(
            QStringLiteral("%1: wrote %2 %3").arg(request.file).arg(records.size()).arg(noun));
    }
    if (report.badRows() > 0)
        m_console.warn(QStringLiteral("%1: %2 rows will not import as they are")
                           .arg(shownFile)
                           .arg(report.badRows()));
    return ExitSuccess;
}

QString Exporter::rowKey(AdminTable table, const QStringList& values)
{
    return table == AdminTable::Mappings ? values.value(0) + u'/' + values.value(2)
                                         : values.value(0);
}

} // namespace admin
