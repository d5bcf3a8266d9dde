#include "CarryForward.h"

#include "Console.h"
#include "ExitStatus.h"
#include "ServerSession.h"
#include "platform/CoorDisp.h"

namespace admin {

int CarryForward::run(bool force)
{
    server::DataServer* server = m_session.server();
    // The open period as the module reads it; none at all is no period to move from.
    platform::Variant period;
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(period)};
    const QString from = server->invoke(platform::CoorDisp::GetServerYearMonth, arguments).toBool()
                             ? period.toText()
                             : QString();
    const QString to = server->now().toString(QStringLiteral("yyyyMM"));
    const QString shownFrom = from.isEmpty() ? QStringLiteral("(none)") : from;
    if (from == to) {
        m_console.print(QStringLiteral("%1: open period %2 is the current month already; "
                                       "nothing changed")
                            .arg(m_session.shownName(), to));
        return ExitSuccess;
    }
    if (!from.isEmpty() && from > to && !force) {
        m_console.warn(QStringLiteral("%1: open period %2 is later than this month %3; "
                                      "carry-forward does not move it back (--force does)")
                           .arg(m_session.shownName(), from, to));
        return ExitRefused;
    }
    QString error;
    if (!server->carryForward(&error)) {
        m_console.warn(QStringLiteral("carry-forward failed: %1").arg(error));
        return ExitRefused;
    }
    m_console.print(
        QStringLiteral("%1: open period %2 → %3").arg(m_session.shownName(), shownFrom, to));
    return ExitSuccess;
}

} // namespace admin
