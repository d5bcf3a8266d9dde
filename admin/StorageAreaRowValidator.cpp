#include "StorageAreaRowValidator.h"

#include "DatabaseLookup.h"
#include "ImportKeys.h"

namespace admin {

bool StorageAreaRowValidator::check(const QList<ImportRow>& rows, server::WorkTransaction& work,
                                    ImportKeys& keys, QList<RowIssue>& issues, QString& error)
{
    const QString column = QStringLiteral("f_ccqybm");
    QList<const ImportRow*> candidates;
    QStringList codes;
    for (const ImportRow& row : rows) {
        const bool codeOk = checkCode(column, row.values.at(0), row.line, issues);
        checkName(QStringLiteral("f_ccqymc"), row.values.at(1), row.line, issues);
        if (codeOk) {
            candidates << &row;
            codes << row.values.at(0);
        }
    }
    QHash<QString, ImportKeys::Entry> earlier;
    QSet<QString> stored;
    if (!keys.find(codes, earlier, error) ||
        !DatabaseLookup::storageAreas(work, codes, stored, error))
        return false;
    // Earlier rows of the file come first: an import has added them to the table already.
    QList<std::pair<QString, ImportKeys::Entry>> accepted;
    for (const ImportRow* row : std::as_const(candidates)) {
        const QString& code = row->values.at(0);
        if (const auto found = earlier.constFind(code); found != earlier.constEnd()) {
            issues.append({row->line, column,
                           QStringLiteral("storage area %1 is already on line %2")
                               .arg(code)
                               .arg(found->line)});
        } else if (stored.contains(code)) {
            issues.append(
                {row->line, column, QStringLiteral("storage area %1 exists already").arg(code)});
        } else {
            earlier.insert(code, {row->line, {}});
            accepted.append({code, {row->line, {}}});
        }
    }
    return keys.add(accepted, error);
}

} // namespace admin
