#pragma once

namespace admin {

class Console;
class ServerSession;

// Moves the open accounting period to the current month of the server clock and says
// "FROM → TO". A move backwards (the period is later than the clock's month, e.g. a
// wrong clock) is refused unless forced; a period already current is left as it is.
class CarryForward {
public:
    CarryForward(ServerSession& session, Console& console) : m_session(session), m_console(console)
    {
    }

    // Returns the exit status: success, ExitRefused for a backward move or a failed write.
    int run(bool force);

private:
    ServerSession& m_session;
    Console& m_console;
};

} // namespace admin
