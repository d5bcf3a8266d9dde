// Builds an error payload from arbitrary bytes (texts, numbers, nulls, nested arrays, or
// no array at all) and formats it: never a crash, and the text never ends in CR LF.
#include "host/ServerErrorText.h"
#include "platform/Variant.h"

#include <cstdint>
#include <cstdlib>

namespace {

platform::Variant element(const uint8_t*& data, const uint8_t* end)
{
    if (data == end)
        return {};
    const uint8_t kind = *data++;
    const size_t length = std::min<size_t>(kind >> 3, size_t(end - data));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(length));
    data += length;
    switch (kind & 7) {
    case 0:
        return platform::Variant(text);
    case 1:
        return platform::Variant(int32_t(length));
    case 2:
        return platform::Variant::null();
    case 3:
        return platform::Variant(double(length) / 3);
    case 4:
        return platform::Variant::array({platform::Variant(text)});
    case 5:
        return platform::Variant(true);
    default:
        return platform::Variant(text + QStringLiteral("\r\n"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t* end = data + size;
    platform::Variant payload;
    if (size > 0 && (*data & 1)) {
        const int32_t lowerBound = int8_t(*data++) >> 1;
        QList<platform::Variant> elements;
        while (data != end)
            elements.append(element(data, end));
        payload = platform::Variant::array(elements, lowerBound);
    } else {
        payload = element(data, end);
    }
    const QString text = serverErrorText(payload);
    if (text.endsWith(QStringLiteral("\r\n")) && !payload.isArray())
        std::abort();
    return 0;
}
