#pragma once

#include <QString>

// Start-up failures of the shell. A clerk who starts it from the desktop sees no terminal,
// so each one is shown in a message box too, not only written to standard error.
namespace StartupErrors {

// Writes message to standard error and, unless windowless, shows it in a message box
// (caption "仓储业务后台"); answers status, the process's exit status.
int report(const QString& message, int status, bool windowless);

} // namespace StartupErrors
