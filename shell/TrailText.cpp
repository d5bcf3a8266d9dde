#include "TrailText.h"

#include "server/DataServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <algorithm>

namespace TrailText {

namespace {

// The object of a JSON text; ok false when it is not one (an empty text is an empty row).
QJsonObject objectOf(const QString& text, bool& ok)
{
    ok = true;
    if (text.isEmpty())
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    ok = document.isObject();
    return document.object();
}

QString valueText(const QJsonValue& value)
{
    if (value.isNull() || value.isUndefined())
        return QStringLiteral("（空）");
    return value.toVariant().toString();
}

// The fields of object in the order the JSON text names them (the table's column order;
// QJsonObject keeps them sorted by name).
QStringList fieldsInOrder(const QString& text, const QJsonObject& object)
{
    QStringList fields = object.keys();
    const auto position = [&text](const QString& field) {
        return text.indexOf(QLatin1Char('"') + field + QStringLiteral("\":"));
    };
    std::stable_sort(fields.begin(), fields.end(), [&position](const QString& a, const QString& b) {
        return position(a) < position(b);
    });
    return fields;
}

QString fieldsText(const QJsonObject& row, const QStringList& fields)
{
    QStringList parts;
    for (const QString& field : fields)
        parts << field + QLatin1Char('=') + valueText(row.value(field));
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString operationName(const QString& operation)
{
    if (operation == QLatin1String("INSERT"))
        return QStringLiteral("新增");
    if (operation == QLatin1String("UPDATE"))
        return QStringLiteral("修改");
    if (operation == QLatin1String("DELETE"))
        return QStringLiteral("删除");
    return operation;
}

QString tableName(const QString& table)
{
    const QString key = table.toLower();
    if (key == QLatin1String("tbqyda"))
        return QStringLiteral("区域档案");
    if (key == QLatin1String("tbccqyda"))
        return QStringLiteral("存储区域");
    if (key == QLatin1String("tbqydz"))
        return QStringLiteral("区域对照");
    if (key == QLatin1String("tbkjqj"))
        return QStringLiteral("会计期间");
    return table;
}

Change change(const server::TrailRow& row)
{
    bool beforeOk = false;
    bool afterOk = false;
    const QJsonObject before = objectOf(row.before, beforeOk);
    const QJsonObject after = objectOf(row.after, afterOk);
    if (!beforeOk || !afterOk)
        return {row.before, row.after};
    QStringList fields = fieldsInOrder(row.before, before);
    for (const QString& field : fieldsInOrder(row.after, after))
        if (!before.contains(field))
            fields << field;
    if (!before.isEmpty() && !after.isEmpty()) {
        QStringList changed;
        for (const QString& field : std::as_const(fields))
            if (before.value(field) != after.value(field))
                changed << field;
        if (!changed.isEmpty())
            fields = changed;
    }
    return {before.isEmpty() ? QString() : fieldsText(before, fields),
            after.isEmpty() ? QString() : fieldsText(after, fields)};
}

QString sizeText(qsizetype characters)
{
    return QStringLiteral("%1 个字符")
        .arg(QLocale(QLocale::Chinese, QLocale::China).toString(characters));
}

QString preview(const QString& text, qsizetype characters)
{
    // simplified() on the start only: a batch can be megabytes long.
    const QString start = text.left(characters * 4).simplified();
    if (text.size() <= characters && start.size() <= characters)
        return start;
    return start.left(characters) + QStringLiteral("…（共 %1）").arg(sizeText(text.size()));
}

} // namespace TrailText
