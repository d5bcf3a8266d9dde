#include "PeriodCarryForward.h"

#include "platform/CoorDisp.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"

namespace PeriodCarryForward {

namespace {

// The open period "yyyyMM"; empty when none is set or it cannot be read.
QString openPeriod(server::DataServer& server)
{
    platform::Variant period;
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(period)};
    return server.invoke(platform::CoorDisp::GetServerYearMonth, arguments).toBool() &&
                   period.isText()
               ? period.text()
               : QString();
}

void tell(platform::WindowHandle owner, const QString& text, platform::MessageBoxIcon icon)
{
    platform::showMessageBox(owner, text, QStringLiteral("结转"), platform::MessageBoxButtons::Ok,
                             icon);
}

} // namespace

Outcome run(server::DataServer& server, platform::WindowHandle owner)
{
    if (!server.mayCarryForward()) {
        tell(owner,
             QStringLiteral("当前登录没有结转会计期间的权限。请由管理员结转（nelvo-admin "
                            "carry-forward）。"),
             platform::MessageBoxIcon::Exclamation);
        return Outcome::NotAllowed;
    }
    const QString from = openPeriod(server);
    const QString to = server.now().toString(QStringLiteral("yyyyMM"));
    // Periods are "yyyyMM": as texts of equal length they sort as they follow each other.
    if (from.size() == to.size() && from > to) {
        tell(owner,
             QStringLiteral("当前会计期间 %1 晚于本月 %2，不能结转到更早的期间。").arg(from, to),
             platform::MessageBoxIcon::Exclamation);
        return Outcome::Backwards;
    }
    if (from == to) {
        tell(owner, QStringLiteral("当前会计期间已是 %1，无需结转。").arg(to),
             platform::MessageBoxIcon::Information);
        return Outcome::AlreadyCurrent;
    }
    const QString shownFrom = from.isEmpty() ? QStringLiteral("（未设置）") : from;
    if (platform::showMessageBox(
            owner, QStringLiteral("将会计期间从 %1 结转到 %2，确定吗？").arg(shownFrom, to),
            QStringLiteral("结转"), platform::MessageBoxButtons::OkCancel,
            platform::MessageBoxIcon::Question) != platform::IDOK)
        return Outcome::Cancelled;
    QString error;
    if (!server.carryForward(&error)) {
        tell(owner, QStringLiteral("结转失败：%1").arg(error), platform::MessageBoxIcon::Stop);
        return Outcome::Failed;
    }
    tell(owner,
         QStringLiteral("已从 %1 结转到 %2。新打开的区域档案窗口按此期间工作。").arg(shownFrom, to),
         platform::MessageBoxIcon::Information);
    return Outcome::Moved;
}

} // namespace PeriodCarryForward
