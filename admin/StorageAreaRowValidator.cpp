#include "StorageAreaRowValidator.h"

#include "DatabaseSnapshot.h"

namespace admin {

void StorageAreaRowValidator::check(const QStringList& values, int line, QList<RowIssue>& issues)
{
    const QString column = QStringLiteral("f_ccqybm");
    const QString& code = values.at(0);
    const bool codeOk = checkCode(column, code, line, issues);
    checkName(QStringLiteral("f_ccqymc"), values.at(1), line, issues);
    if (!codeOk)
        return;
    if (m_snapshot.storageAreas.contains(code)) {
        issues.append({line, column, QStringLiteral("storage area %1 exists already").arg(code)});
    } else if (const auto earlier = m_codeLines.constFind(code);
               earlier != m_codeLines.constEnd()) {
        issues.append(
            {line, column,
             QStringLiteral("storage area %1 is already on line %2").arg(code).arg(*earlier)});
    } else {
        m_codeLines.insert(code, line);
    }
}

} // namespace admin
