// Arbitrary text through the standard text-to-integer conversion: raising and non-raising
// forms must agree, and a converted value must print back to an equal integer.
#include "platform/Error.h"
#include "platform/Variant.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    int32_t quiet = 0;
    const bool ok = platform::tryTextToInt32(text, quiet);
    try {
        const int32_t value = platform::textToInt32(text);
        if (!ok || value != quiet)
            std::abort();
        if (platform::textToInt32(QString::number(value)) != value)
            std::abort();
    } catch (const platform::Error& error) {
        if (ok || !error.message().contains("is not a valid integer value"))
            std::abort();
    }
    return 0;
}
