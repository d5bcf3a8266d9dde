#include "RowValidator.h"

#include "AreaRowValidator.h"
#include "MappingRowValidator.h"
#include "StorageAreaRowValidator.h"

namespace admin {

namespace {

constexpr qsizetype QuotedValueLength = 80;

QString codePoint(QChar c)
{
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString quotedValue(const QString& value)
{
    QString text = QStringLiteral("\"");
    qsizetype shown = 0;
    for (const QChar c : value) {
        if (shown == QuotedValueLength) {
            text += QStringLiteral("…\" (%1 characters)").arg(value.size());
            return text;
        }
        ++shown;
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            text += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            text += c;
    }
    return text + QLatin1Char('"');
}

std::unique_ptr<RowValidator> RowValidator::create(AdminTable table)
{
    switch (table) {
    case AdminTable::Areas:
        return std::make_unique<AreaRowValidator>();
    case AdminTable::StorageAreas:
        return std::make_unique<StorageAreaRowValidator>();
    case AdminTable::Mappings:
        break;
    }
    return std::make_unique<MappingRowValidator>();
}

void RowValidator::checkValues(AdminTable table, const QStringList& values, int line,
                               QList<RowIssue>& issues)
{
    const QStringList columns = adminTableColumns(table);
    switch (table) {
    case AdminTable::Areas:
        checkCode(columns[0], values[0], line, issues);
        checkName(columns[1], values[1], line, issues);
        checkKind(columns[2], values[2], line, issues);
        return;
    case AdminTable::StorageAreas:
        checkCode(columns[0], values[0], line, issues);
        checkName(columns[1], values[1], line, issues);
        return;
    case AdminTable::Mappings:
        checkKind(columns[0], values[0], line, issues);
        checkCode(columns[1], values[1], line, issues);
        checkCode(columns[2], values[2], line, issues);
        return;
    }
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
                           QStringLiteral("control character %1 at position %2")
                               .arg(codePoint(c))
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
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u' ') {
            issues.append(
                {line, column, QStringLiteral("code %1 contains a blank").arg(quotedValue(value))});
            return false;
        }
        if (c.isSpace() || c.category() == QChar::Other_Format) {
            issues.append({line, column,
                           QStringLiteral("code %1 contains the invisible character %2 at "
                                          "position %3")
                               .arg(quotedValue(value), codePoint(c))
                               .arg(i + 1)});
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
    issues.append({line, column,
                   QStringLiteral("kind %1 is none of %2")
                       .arg(quotedValue(value), keys.join(QLatin1String(", ")))});
    return false;
}

} // namespace admin
