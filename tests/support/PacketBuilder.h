#pragma once

#include "platform/DataPacket.h"
#include "platform/Variant.h"

#include <QStringList>

namespace testsupport {

// Builds a data packet the way the server sends it:
//   PacketBuilder({"f_bm", "f_mc"}).row({"01", "一区"}).row({"02", "二区"}).packet()
// Rows must have as many values as there are columns (encoding raises otherwise).
class PacketBuilder {
public:
    explicit PacketBuilder(QStringList columns) { m_table.columns = std::move(columns); }

    PacketBuilder& row(QList<platform::Variant> values)
    {
        m_table.rows.append(std::move(values));
        return *this;
    }

    const platform::DataTable& table() const noexcept { return m_table; }
    // The packet as a byte-block variant, ready for a by-ref Data argument.
    platform::Variant packet() const { return platform::Variant(platform::encodePacket(m_table)); }

private:
    platform::DataTable m_table;
};

// One-call form: makePacket({"f_zymc"}, {{"张三"}}).
inline platform::Variant makePacket(QStringList columns, QList<QList<platform::Variant>> rows)
{
    PacketBuilder builder(std::move(columns));
    for (QList<platform::Variant>& row : rows)
        builder.row(std::move(row));
    return builder.packet();
}

} // namespace testsupport
