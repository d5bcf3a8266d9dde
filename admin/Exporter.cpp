#include "Exporter.h"

#include "Console.h"
#include "CsvWriter.h"
#include "ExitStatus.h"
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
    platform::ClientDataset rows;
    QString error;
    if (!m_session.query(selectText(request.table, request.kind), rows, error)) {
        m_console.warn(QStringLiteral("cannot read the database: %1").arg(error));
        return ExitUsage;
    }
    const QStringList columns = adminTableColumns(request.table);
    QList<QStringList> records;
    records.reserve(rows.recordCount());
    for (rows.first(); !rows.eof(); rows.next()) {
        QStringList values;
        for (const QString& column : columns) {
            const platform::Variant value = rows.fieldValue(column);
            values << (value.isNull() ? QString() : value.toText());
        }
        records << values;
    }
    // Sorted here, not by the database, so that both backends give the same file.
    const QList<int> key = adminTableSortColumns(request.table);
    std::sort(records.begin(), records.end(), [&key](const QStringList& a, const QStringList& b) {
        for (int column : key) {
            const int order = QString::compare(a.at(column), b.at(column));
            if (order != 0)
                return order < 0;
        }
        return false;
    });

    QString text = CsvWriter::record(columns);
    for (const QStringList& record : records)
        text += CsvWriter::record(record);
    const QByteArray bytes = request.encoding.encode(text);

    if (request.file == QLatin1String("-")) {
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
        m_console.warn(QStringLiteral("%1: wrote %2 %3")
                           .arg(request.file)
                           .arg(records.size())
                           .arg(adminTableRowNoun(request.table, true)));
    }
    return ExitSuccess;
}

} // namespace admin
