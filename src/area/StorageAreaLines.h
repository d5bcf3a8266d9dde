#pragma once

#include "platform/DataPacket.h"
#include "platform/Variant.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

// Reading display lines out of the server's tables, and the "free" test of the transfers.
namespace StorageAreaLines {

// Index of the column name (matched ignoring case). Raises platform::Error
// "Field 'name' not found" when the table has no such column.
int requireColumn(const platform::DataTable& table, const QString& name);
// The text of a cell; a null (a NULL name, or a storage area missing from the join) gives
// the empty text instead of failing the whole load.
QString cellText(const platform::Variant& value);
// One display text (code, blank, name) per row, in row order.
QStringList displayTexts(const platform::DataTable& table, const QString& codeColumn,
                         const QString& nameColumn);
// DisplayText(code, name) built with a single allocation.
QString displayText(const QString& code, const QString& name);

// The display texts of the rows of a packet held by value, read straight from the packet's
// bytes without a dataset. When tags is given, the cell text of tagColumn comes with each
// line, and a row whose tag keep refuses is skipped before its code and name are read.
// Raises as ClientDataset::loadPacket does for a value that holds no packet or a malformed
// packet, then as requireColumn for a missing column; cells read as cellText.
QStringList packetDisplayTexts(const platform::Variant& packet, const QString& codeColumn,
                               const QString& nameColumn, const QString& tagColumn = QString(),
                               QStringList* tags = nullptr,
                               const std::function<bool(const QString&)>& keep = {});

} // namespace StorageAreaLines

// Decides whether a storage-area line may be mapped to the selected area: its whole text is
// not yet shown in the mapping list (ignoring case) and its code is not mapped for the kind
// in the snapshot (exact match of code and kind). Hash lookups, so a press over n lines
// costs O(n) rather than a search of the list per line.
class FreeStorageAreaTest {
public:
    // shownLines: the mapping list's lines; snapshot: every mapping row of the kind
    // (columns f_ccqybm and f_qylx; a missing column raises platform::Error).
    FreeStorageAreaTest(const QStringList& shownLines, const platform::DataTable& snapshot,
                        const QString& kindKey);

    bool isFree(const QString& line) const;
    // Counts line as shown and its code as mapped, so a second line with the same text or
    // code in the same press is not mapped twice.
    void take(const QString& line);

private:
    QSet<QString> m_shownFolded;
    QSet<QString> m_mappedCodes;
};
