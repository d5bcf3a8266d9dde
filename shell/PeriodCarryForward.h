#pragma once

#include "platform/Window.h"

#include <QString>

namespace server {
class DataServer;
}

// The shell's "结转到当前月份": moves the open accounting period to the current month of
// the server clock after a confirmation that shows "from → to". Refused with a message on
// a connection that may not move the period (a clerk's login) and for a move backwards;
// nothing to do when the period is the current month already.
namespace PeriodCarryForward {

enum class Outcome { Moved, Cancelled, NotAllowed, Backwards, AlreadyCurrent, Failed };

// Runs it with every question and answer in message boxes owned by owner.
Outcome run(server::DataServer& server, platform::WindowHandle owner);

} // namespace PeriodCarryForward
