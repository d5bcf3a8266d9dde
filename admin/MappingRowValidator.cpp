#include "MappingRowValidator.h"

#include "DatabaseSnapshot.h"

namespace admin {

void MappingRowValidator::check(const QStringList& values, int line, QList<RowIssue>& issues)
{
    const QString& kind = values.at(0);
    const QString& area = values.at(1);
    const QString& storageArea = values.at(2);
    const QString column = QStringLiteral("f_ccqybm");
    const bool kindOk = checkKind(QStringLiteral("f_qylx"), kind, line, issues);
    checkArea(kind, kindOk, area, line, issues);
    if (!checkCode(column, storageArea, line, issues))
        return;
    if (!m_snapshot.storageAreas.contains(storageArea)) {
        issues.append(
            {line, column, QStringLiteral("no storage area %1 in the database").arg(storageArea)});
        return;
    }
    if (!kindOk)
        return;
    const QString key = DatabaseSnapshot::mappingKey(kind, storageArea);
    if (const auto held = m_snapshot.mappedAreas.constFind(key);
        held != m_snapshot.mappedAreas.constEnd()) {
        issues.append({line, column,
                       QStringLiteral("storage area %1 is already mapped in %2 to area %3")
                           .arg(storageArea, kind, *held)});
    } else if (const auto earlier = m_fileMappings.constFind(key);
               earlier != m_fileMappings.constEnd()) {
        issues.append(
            {line, column,
             QStringLiteral("storage area %1 is already mapped in %2 to area %3 on line %4")
                 .arg(storageArea, kind, earlier->area)
                 .arg(earlier->line)});
    } else {
        m_fileMappings.insert(key, {line, area});
    }
}

void MappingRowValidator::checkArea(const QString& kind, bool kindOk, const QString& area, int line,
                                    QList<RowIssue>& issues) const
{
    const QString column = QStringLiteral("f_qybm");
    if (!checkCode(column, area, line, issues))
        return;
    const auto stored = m_snapshot.areaKinds.constFind(area);
    if (stored == m_snapshot.areaKinds.constEnd())
        issues.append({line, column, QStringLiteral("no area %1 in the database").arg(area)});
    else if (kindOk && *stored != kind)
        issues.append({line, column,
                       QStringLiteral("area %1 is a %2 area, not %3").arg(area, *stored, kind)});
}

} // namespace admin
