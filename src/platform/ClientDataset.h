#pragma once

#include "DataPacket.h"
#include "PlatformExport.h"
#include "Variant.h"

#include <QString>
#include <array>

namespace platform {

// An in-memory table loaded from a data packet, with a current row.
class PLATFORM_EXPORT ClientDataset {
public:
    // Replaces the content with the packet held by value (a byte-block variant). Raises
    // Error when the variant holds no packet or the packet is malformed; the dataset is
    // then empty. The current row becomes the first.
    void loadPacket(const Variant& packet);
    void loadTable(DataTable table);
    void clear();

    bool isEmpty() const noexcept { return m_table.rows.isEmpty(); }
    int recordCount() const noexcept { return int(m_table.rows.size()); }

    // Row navigation: first(), next(), eof() like a cursor; row() is the current index.
    void first() noexcept { m_row = 0; }
    void next() noexcept;
    bool eof() const noexcept { return m_row >= recordCount(); }
    int row() const noexcept { return m_row; }

    // Value of a column of the current row; names match ignoring case. Raises Error
    // "Field 'name' not found" for a missing column, and Error when there is no current row.
    Variant fieldValue(const QString& name) const;
    QString fieldText(const QString& name) const; // fieldValue(name).toText()

    // Moves to the first row whose key columns (names joined by ";") equal values, in
    // order; answers whether one was found (the current row is unchanged otherwise).
    // Values compare as text; ignoreCase folds letter case. A missing key column raises.
    bool locate(const QString& keyFields, const QList<Variant>& values, bool ignoreCase = false);

    const DataTable& table() const noexcept { return m_table; }

private:
    int columnIndex(const QString& name) const;

    DataTable m_table;
    int m_row = 0;
    // The last names columnIndex resolved: a loop reading fields row by row asks for the
    // same few names again and again. Emptied with the table.
    struct ResolvedName {
        QString name;
        int column = -1;
    };
    mutable std::array<ResolvedName, 4> m_resolved;
    mutable size_t m_nextResolved = 0;
};

} // namespace platform
