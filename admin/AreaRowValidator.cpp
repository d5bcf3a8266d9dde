#include "AreaRowValidator.h"

#include "DatabaseSnapshot.h"

namespace admin {

void AreaRowValidator::check(const QStringList& values, int line, QList<RowIssue>& issues)
{
    const QString column = QStringLiteral("f_qybm");
    const QString& code = values.at(0);
    const bool codeOk = checkCode(column, code, line, issues);
    checkName(QStringLiteral("f_qymc"), values.at(1), line, issues);
    checkKind(QStringLiteral("f_qylx"), values.at(2), line, issues);
    if (!codeOk)
        return;
    if (const auto stored = m_snapshot.areaKinds.constFind(code);
        stored != m_snapshot.areaKinds.constEnd()) {
        issues.append({line, column,
                       QStringLiteral("area %1 exists already (a %2 area)").arg(code, *stored)});
    } else if (const auto earlier = m_codeLines.constFind(code);
               earlier != m_codeLines.constEnd()) {
        issues.append({line, column,
                       QStringLiteral("area %1 is already on line %2").arg(code).arg(*earlier)});
    } else {
        m_codeLines.insert(code, line);
    }
}

} // namespace admin
