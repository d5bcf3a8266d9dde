#pragma once

#include "area/DisplayLines.h"
#include "area/StorageAreaListModel.h"
#include "area/TextSet.h"
#include "platform/DataPacket.h"
#include "platform/Variant.h"

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
// bytes into one compact set of lines, without a dataset. When tags is given, the cell text of
// tagColumn comes with each line, and a row whose tag keep refuses is skipped before its code and
// name are read. Raises as ClientDataset::loadPacket does for a value that holds no packet or a
// malformed packet, then as requireColumn for a missing column; cells read as cellText.
QStringList packetDisplayTexts(const platform::Variant& packet, const QString& codeColumn,
                               const QString& nameColumn, const QString& tagColumn = QString(),
                               QStringList* tags = nullptr,
                               const std::function<bool(const QString&)>& keep = {});
// The same lines, held compactly.
DisplayLines packetLines(const platform::Variant& packet, const QString& codeColumn,
                         const QString& nameColumn, const QString& tagColumn = QString(),
                         QStringList* tags = nullptr,
                         const std::function<bool(const QString&)>& keep = {});

} // namespace StorageAreaLines

// The storage-area codes mapped for one kind: what the mapping query of "<" and "<<"
// answered, kept until the next press loads it again.
class MappedCodeSnapshot {
public:
    // Replaces the content with the codes of the packet's rows (columns f_ccqybm and
    // f_qylx) whose kind equals kindKey exactly. Raises platform::Error for a value that
    // holds no packet, a malformed packet or a missing column; the snapshot is then empty.
    void loadPacket(const platform::Variant& packet, const QString& kindKey);
    bool contains(QStringView code) const { return m_codes.contains(code); }
    qsizetype size() const { return m_codes.size(); }

private:
    TextSet m_codes;
};

// Decides whether a storage-area line may be mapped to the selected area: its whole text is
// not yet shown in the mapping list (ignoring case) and its code is not mapped for the kind
// in the snapshot (exact match). Hash lookups, so a press over n lines costs O(n) rather
// than a search of the list per line.
class FreeStorageAreaTest {
public:
    FreeStorageAreaTest(const StorageAreaListModel& shown, const MappedCodeSnapshot& snapshot);

    bool isFree(QStringView line) const;
    // Counts line as shown and its code as mapped, so a second line with the same text or
    // code in the same press is not mapped twice.
    void take(QStringView line);

private:
    // The text before the first blank (CodeOfText), as a view into line.
    static QStringView codeOf(QStringView line);

    const MappedCodeSnapshot& m_snapshot;
    TextSet m_shown;
    TextSet m_taken; // codes taken in this press
};
