#include "TrailLines.h"

namespace admin {

QString trailRowLine(const server::TrailRow& row)
{
    const auto shown = [](const QString& json) {
        return json.isEmpty() ? QStringLiteral("—") : json;
    };
    return QStringLiteral("%1 %2 %3: %4 → %5")
        .arg(row.operation, row.table, row.key, shown(row.before), shown(row.after));
}

} // namespace admin
