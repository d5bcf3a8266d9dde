#include "AdminTable.h"

#include "area/AreaModel.h"

#include <algorithm>

namespace admin {

std::optional<AdminTable> adminTableFromWord(const QString& word)
{
    if (word == QLatin1String("areas"))
        return AdminTable::Areas;
    if (word == QLatin1String("storage-areas"))
        return AdminTable::StorageAreas;
    if (word == QLatin1String("mappings"))
        return AdminTable::Mappings;
    return std::nullopt;
}

QString adminTableRowNoun(AdminTable table, bool plural)
{
    switch (table) {
    case AdminTable::Areas:
        return plural ? QStringLiteral("areas") : QStringLiteral("area");
    case AdminTable::StorageAreas:
        return plural ? QStringLiteral("storage areas") : QStringLiteral("storage area");
    case AdminTable::Mappings:
        break;
    }
    return plural ? QStringLiteral("mappings") : QStringLiteral("mapping");
}

QString adminTableSqlName(AdminTable table)
{
    switch (table) {
    case AdminTable::Areas:
        return QStringLiteral("tbQyda");
    case AdminTable::StorageAreas:
        return QStringLiteral("tbCCQyda");
    case AdminTable::Mappings:
        break;
    }
    return QStringLiteral("tbqydz");
}

QStringList adminTableColumns(AdminTable table)
{
    switch (table) {
    case AdminTable::Areas:
        return {QStringLiteral("f_qybm"), QStringLiteral("f_qymc"), QStringLiteral("f_qylx")};
    case AdminTable::StorageAreas:
        return {QStringLiteral("f_ccqybm"), QStringLiteral("f_ccqymc")};
    case AdminTable::Mappings:
        break;
    }
    return {QStringLiteral("f_qylx"), QStringLiteral("f_qybm"), QStringLiteral("f_ccqybm")};
}

QList<int> adminTableSortColumns(AdminTable table)
{
    // Areas and storage areas by code; mappings by kind, area and storage area.
    return table == AdminTable::Mappings ? QList<int>{0, 1, 2} : QList<int>{0};
}

namespace {

// Writes texts one after another into a text sized in advance.
class TextWriter {
public:
    explicit TextWriter(QString& text) : m_out(reinterpret_cast<char16_t*>(text.data())) {}
    void put(QStringView part)
    {
        std::copy(part.utf16(), part.utf16() + part.size(), m_out);
        m_out += part.size();
    }
    void put(char16_t c) { *m_out++ = c; }
    // value with each single quote doubled, as EscapeSqlLiteral gives it
    void putEscaped(QStringView value)
    {
        for (const QChar c : value) {
            if (c == u'\'')
                *m_out++ = u'\'';
            *m_out++ = c.unicode();
        }
    }

    const char16_t* end() const { return m_out; }

private:
    char16_t* m_out;
};

} // namespace

QString insertStatements(AdminTable table, const QList<QStringList>& rows, int rowsPerStatement)
{
    const QString head =
        QStringLiteral("insert into %1 (%2) values\n")
            .arg(adminTableSqlName(table), adminTableColumns(table).join(QLatin1String(", ")));
    const QStringView rowBreak = u",\n", valueBreak = u", ", statementEnd = u";\n";
    // A batch of 100,000 rows is megabytes: its exact size is counted first and the text
    // written in place, with no temporary text per value.
    qsizetype size = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        size += (i % rowsPerStatement == 0 ? head.size() : rowBreak.size()) + 2;
        const QStringList& values = rows.at(i);
        for (qsizetype column = 0; column < values.size(); ++column)
            size += (column > 0 ? valueBreak.size() : 0) + 2 + values.at(column).size() +
                    values.at(column).count(u'\'');
        if ((i + 1) % rowsPerStatement == 0 || i + 1 == rows.size())
            size += statementEnd.size();
    }
    QString text(size, Qt::Uninitialized);
    TextWriter out(text);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        out.put(i % rowsPerStatement == 0 ? QStringView(head) : rowBreak);
        out.put(u'(');
        const QStringList& values = rows.at(i);
        for (qsizetype column = 0; column < values.size(); ++column) {
            if (column > 0)
                out.put(valueBreak);
            out.put(u'\'');
            out.putEscaped(values.at(column));
            out.put(u'\'');
        }
        out.put(u')');
        if ((i + 1) % rowsPerStatement == 0 || i + 1 == rows.size())
            out.put(statementEnd);
    }
    Q_ASSERT(out.end() == reinterpret_cast<const char16_t*>(text.constData()) + size);
    return text;
}

QStringList areaKindKeys()
{
    QStringList keys;
    for (AreaType type : AllAreaTypes)
        keys << areaTypeKey(type);
    return keys;
}

} // namespace admin
