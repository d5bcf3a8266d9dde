#include "RowValidator.h"

#include "AreaRowValidator.h"
#include "MappingRowValidator.h"
#include "StorageAreaRowValidator.h"

namespace admin {

std::unique_ptr<RowValidator> RowValidator::create(AdminTable table,
                                                   const DatabaseSnapshot& snapshot)
{
    switch (table) {
    case AdminTable::Areas:
        return std::make_unique<AreaRowValidator>(snapshot);
    case AdminTable::StorageAreas:
        return std::make_unique<StorageAreaRowValidator>(snapshot);
    case AdminTable::Mappings:
        break;
    }
    return std::make_unique<MappingRowValidator>(snapshot);
}

bool RowValidator::checkText(const QString& column, const QString& value, int maxLength, int line,
                             QList<RowIssue>& issues)
{
    // Characters as the database counts them: a pair of surrogates is one.
    qsizetype length = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (!c.isLowSurrogate())
            ++length;
        if (c.category() == QChar::Other_Control) {
            issues.append({line, column,
                           QStringLiteral("control character U+%1 at position %2")
                               .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                               .arg(i + 1)});
            return false;
        }
    }
    if (length > maxLength) {
        issues.append({line, column,
                       QStringLiteral("%1 characters, at most %2 fit").arg(length).arg(maxLength)});
        return false;
    }
    return true;
}

bool RowValidator::checkCode(const QString& column, const QString& value, int line,
                             QList<RowIssue>& issues)
{
    if (value.trimmed().isEmpty()) {
        issues.append({line, column, QStringLiteral("empty code")});
        return false;
    }
    if (!checkText(column, value, MaxCodeLength, line, issues))
        return false;
    for (QChar c : value) {
        if (c.isSpace()) {
            issues.append(
                {line, column, QStringLiteral("code \"%1\" contains a blank").arg(value)});
            return false;
        }
    }
    return true;
}

bool RowValidator::checkName(const QString& column, const QString& value, int line,
                             QList<RowIssue>& issues)
{
    if (value.trimmed().isEmpty()) {
        issues.append({line, column, QStringLiteral("empty name")});
        return false;
    }
    return checkText(column, value, MaxNameLength, line, issues);
}

bool RowValidator::checkKind(const QString& column, const QString& value, int line,
                             QList<RowIssue>& issues)
{
    static const QStringList keys = areaKindKeys();
    if (keys.contains(value))
        return true;
    issues.append(
        {line, column,
         QStringLiteral("kind \"%1\" is none of %2").arg(value, keys.join(QLatin1String(", ")))});
    return false;
}

} // namespace admin
