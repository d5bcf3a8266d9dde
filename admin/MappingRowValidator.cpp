#include "MappingRowValidator.h"

#include "DatabaseLookup.h"
#include "ImportKeys.h"

namespace admin {

bool MappingRowValidator::check(const QList<ImportRow>& rows, server::WorkTransaction& work,
                                ImportKeys& keys, QList<RowIssue>& issues, QString& error)
{
    if (m_kindSpellings.isEmpty() &&
        !DatabaseLookup::mappingKindSpellings(work, m_kindSpellings, error))
        return false;
    const QString areaColumn = QStringLiteral("f_qybm");
    const QString column = QStringLiteral("f_ccqybm");
    QStringList areaCodes;
    QStringList storageCodes;
    QList<bool> kindOk, areaOk, storageOk;
    for (const ImportRow& row : rows) {
        kindOk << checkKind(QStringLiteral("f_qylx"), row.values.at(0), row.line, issues);
        areaOk << checkCode(areaColumn, row.values.at(1), row.line, issues);
        storageOk << checkCode(column, row.values.at(2), row.line, issues);
        if (areaOk.last())
            areaCodes << row.values.at(1);
        if (storageOk.last())
            storageCodes << row.values.at(2);
    }
    QHash<QString, QString> areaKinds;
    QSet<QString> storageAreas;
    QHash<QString, QString> mapped;
    if (!DatabaseLookup::areaKinds(work, areaCodes, areaKinds, error) ||
        !DatabaseLookup::storageAreas(work, storageCodes, storageAreas, error) ||
        !DatabaseLookup::mappedAreas(work, m_kindSpellings, storageCodes, mapped, error))
        return false;

    QList<const ImportRow*> candidates;
    QStringList candidateKeys;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ImportRow& row = rows.at(i);
        const QString& kind = row.values.at(0);
        const QString& area = row.values.at(1);
        const QString& storageArea = row.values.at(2);
        if (areaOk[i]) {
            const auto stored = areaKinds.constFind(area);
            if (stored == areaKinds.constEnd())
                issues.append(
                    {row.line, areaColumn, QStringLiteral("no area %1 in the database").arg(area)});
            else if (kindOk[i] && *stored != kind)
                issues.append(
                    {row.line, areaColumn,
                     QStringLiteral("area %1 is a %2 area, not %3").arg(area, *stored, kind)});
        }
        if (!storageOk[i])
            continue;
        if (!storageAreas.contains(storageArea)) {
            issues.append({row.line, column,
                           QStringLiteral("no storage area %1 in the database").arg(storageArea)});
            continue;
        }
        if (!kindOk[i])
            continue;
        candidates << &row;
        candidateKeys << DatabaseLookup::mappingKey(kind, storageArea);
    }

    QHash<QString, ImportKeys::Entry> earlier;
    if (!keys.find(candidateKeys, earlier, error))
        return false;
    // Earlier rows of the file come first: an import has added them to the table already.
    QList<std::pair<QString, ImportKeys::Entry>> accepted;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        const ImportRow& row = *candidates.at(i);
        const QString& key = candidateKeys.at(i);
        const QString& kind = row.values.at(0);
        const QString& storageArea = row.values.at(2);
        if (const auto found = earlier.constFind(key); found != earlier.constEnd()) {
            issues.append(
                {row.line, column,
                 QStringLiteral("storage area %1 is already mapped in %2 to area %3 on line %4")
                     .arg(storageArea, kind, found->area)
                     .arg(found->line)});
        } else if (const auto held = mapped.constFind(key); held != mapped.constEnd()) {
            issues.append({row.line, column,
                           QStringLiteral("storage area %1 is already mapped in %2 to area %3")
                               .arg(storageArea, kind, *held)});
        } else {
            const ImportKeys::Entry entry{row.line, row.values.at(1)};
            earlier.insert(key, entry);
            accepted.append({key, entry});
        }
    }
    return keys.add(accepted, error);
}

} // namespace admin
