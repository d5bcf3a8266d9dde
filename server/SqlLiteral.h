#pragma once

#include <QString>

namespace server {

// value as a single-quoted SQL literal, every quote inside doubled.
inline QString sqlLiteral(const QString& value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace server
