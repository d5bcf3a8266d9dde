#pragma once

namespace admin {

// What the program answers: success, bad rows or a refusal, a usage or connection error.
enum ExitStatus : int { ExitSuccess = 0, ExitRefused = 1, ExitUsage = 2 };

} // namespace admin
