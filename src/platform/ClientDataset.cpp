#include "ClientDataset.h"

#include "Error.h"

namespace platform {

namespace {

// Key comparison as text; a null key matches only a null cell, byte blocks never match.
bool valuesMatch(const Variant& cell, const Variant& key, Qt::CaseSensitivity sensitivity)
{
    if (cell.isNull() || key.isNull())
        return cell.isNull() && key.isNull();
    if (cell.isBytes() || key.isBytes() || cell.isArray() || key.isArray())
        return false;
    return cell.toText().compare(key.toText(), sensitivity) == 0;
}

} // namespace

void ClientDataset::loadPacket(const Variant& packet)
{
    clear();
    if (!packet.isBytes())
        throw Error(QStringLiteral("Invalid data packet: a variant of type (%1) holds no packet")
                        .arg(Variant::typeName(packet.type())));
    loadTable(decodePacket(packet.bytes()));
}

void ClientDataset::loadTable(DataTable table)
{
    m_table = std::move(table);
    m_row = 0;
    m_resolved = {};
}

void ClientDataset::clear()
{
    m_table = DataTable();
    m_row = 0;
    m_resolved = {};
}

void ClientDataset::next() noexcept
{
    if (m_row < recordCount())
        ++m_row;
}

int ClientDataset::columnIndex(const QString& name) const
{
    for (const ResolvedName& resolved : m_resolved) {
        if (resolved.column >= 0 && resolved.name == name)
            return resolved.column;
    }
    for (qsizetype i = 0; i < m_table.columns.size(); ++i) {
        if (m_table.columns[i].compare(name, Qt::CaseInsensitive) == 0) {
            m_resolved[m_nextResolved] = {name, int(i)};
            m_nextResolved = (m_nextResolved + 1) % m_resolved.size();
            return int(i);
        }
    }
    throw Error(QStringLiteral("Field '%1' not found").arg(name));
}

Variant ClientDataset::fieldValue(const QString& name) const
{
    const int column = columnIndex(name);
    if (eof())
        throw Error(
            QStringLiteral("Cannot read field '%1': the dataset has no current record").arg(name));
    return m_table.rows[m_row][column];
}

QString ClientDataset::fieldText(const QString& name) const
{
    return fieldValue(name).toText();
}

bool ClientDataset::locate(const QString& keyFields, const QList<Variant>& values, bool ignoreCase)
{
    const QStringList names = keyFields.split(u';');
    if (names.size() != values.size())
        throw Error(QStringLiteral("Locate on '%1' needs %2 values, got %3")
                        .arg(keyFields)
                        .arg(names.size())
                        .arg(values.size()));
    QList<int> columns;
    for (const QString& name : names)
        columns.append(columnIndex(name.trimmed()));
    const Qt::CaseSensitivity sensitivity = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int r = 0; r < recordCount(); ++r) {
        bool match = true;
        for (qsizetype k = 0; k < columns.size() && match; ++k)
            match = valuesMatch(m_table.rows[r][columns[k]], values[k], sensitivity);
        if (match) {
            m_row = r;
            return true;
        }
    }
    return false;
}

} // namespace platform
