#include "area/StorageAreaLines.h"

#include "area/AreaModel.h"
#include "platform/Error.h"

namespace StorageAreaLines {

int requireColumn(const platform::DataTable& table, const QString& name)
{
    for (qsizetype index = 0; index < table.columns.size(); ++index) {
        if (table.columns[index].compare(name, Qt::CaseInsensitive) == 0)
            return int(index);
    }
    throw platform::Error(QStringLiteral("Field '%1' not found").arg(name));
}

QString cellText(const platform::Variant& value)
{
    if (value.isNull() || value.isEmpty())
        return QString();
    return value.toText();
}

QStringList displayTexts(const platform::DataTable& table, const QString& codeColumn,
                         const QString& nameColumn)
{
    const int code = requireColumn(table, codeColumn);
    const int name = requireColumn(table, nameColumn);
    QStringList lines;
    lines.reserve(table.rows.size());
    for (const QList<platform::Variant>& row : table.rows)
        lines.append(DisplayText(cellText(row[code]), cellText(row[name])));
    return lines;
}

} // namespace StorageAreaLines

FreeStorageAreaTest::FreeStorageAreaTest(const QStringList& shownLines,
                                         const platform::DataTable& snapshot,
                                         const QString& kindKey)
{
    m_shownFolded.reserve(shownLines.size());
    for (const QString& line : shownLines)
        m_shownFolded.insert(line.toCaseFolded());
    const int code = StorageAreaLines::requireColumn(snapshot, QStringLiteral("f_ccqybm"));
    const int kind = StorageAreaLines::requireColumn(snapshot, QStringLiteral("f_qylx"));
    m_mappedCodes.reserve(snapshot.rows.size());
    for (const QList<platform::Variant>& row : snapshot.rows) {
        // A null code or kind equals no text, so it never marks a storage area as mapped.
        if (row[code].isNull() || row[kind].isNull())
            continue;
        if (row[kind].toText() == kindKey)
            m_mappedCodes.insert(row[code].toText());
    }
}

bool FreeStorageAreaTest::isFree(const QString& line) const
{
    return !m_shownFolded.contains(line.toCaseFolded()) &&
           !m_mappedCodes.contains(CodeOfText(line));
}

void FreeStorageAreaTest::take(const QString& line)
{
    m_shownFolded.insert(line.toCaseFolded());
    m_mappedCodes.insert(CodeOfText(line));
}
