// Feeds arbitrary bytes to the packet decoder: it must raise platform::Error or return a
// table whose every row has one value per column, and never crash or over-read.
#include "platform/DataPacket.h"
#include "platform/Error.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const platform::DataTable table = platform::decodePacket(bytes);
        for (const auto& row : table.rows) {
            if (row.size() != table.columns.size())
                std::abort();
        }
        // What decodes must encode and decode to the same shape again.
        const platform::DataTable again = platform::decodePacket(platform::encodePacket(table));
        if (again.columns != table.columns || again.rows.size() != table.rows.size())
            std::abort();
    } catch (const platform::Error&) {
    }
    return 0;
}
