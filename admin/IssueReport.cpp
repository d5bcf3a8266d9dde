#include "IssueReport.h"

#include "Console.h"

#include <algorithm>

namespace admin {

void IssueReport::add(QList<RowIssue> issues)
{
    std::stable_sort(issues.begin(), issues.end(),
                     [](const RowIssue& a, const RowIssue& b) { return a.line < b.line; });
    int lastLine = -1;
    for (const RowIssue& issue : std::as_const(issues)) {
        if (issue.line != lastLine) {
            lastLine = issue.line;
            ++m_badRows;
        }
        if (m_badRows > MaxRows)
            continue;
        if (issue.column.isEmpty())
            m_console.warn(
                QStringLiteral("%1:%2: %3").arg(m_file).arg(issue.line).arg(issue.reason));
        else
            m_console.warn(QStringLiteral("%1:%2: %3%4: %5")
                               .arg(m_file)
                               .arg(issue.line)
                               .arg(issue.column == QLatin1String("header")
                                        ? QString()
                                        : QStringLiteral("column "),
                                    issue.column, issue.reason));
    }
}

void IssueReport::finish()
{
    if (m_badRows > MaxRows)
        m_console.warn(
            QStringLiteral("%1: %2 more bad rows not shown").arg(m_file).arg(m_badRows - MaxRows));
}

} // namespace admin
