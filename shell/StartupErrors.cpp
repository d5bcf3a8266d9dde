#include "StartupErrors.h"

#include "platform/MessageBox.h"

#include <cstdio>

namespace StartupErrors {

int report(const QString& message, int status, bool windowless)
{
    std::fprintf(stderr, "nelvo-shell: %s\n", qPrintable(message));
    if (!windowless)
        platform::showMessageBox(0, message, QStringLiteral("仓储业务后台"),
                                 platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::Stop);
    return status;
}

} // namespace StartupErrors
