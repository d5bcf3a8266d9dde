#include "ClerkResult.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject counts(const QMap<QString, int>& map)
{
    QJsonObject object;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QMap<QString, int> countsOf(const QJsonValue& value)
{
    QMap<QString, int> map;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        map.insert(it.key(), it.value().toInt());
    return map;
}

QJsonArray numbers(const QList<double>& list)
{
    QJsonArray array;
    for (double value : list)
        array.append(value);
    return array;
}

QList<double> numbersOf(const QJsonValue& value)
{
    QList<double> list;
    for (const QJsonValue& element : value.toArray())
        list << element.toDouble();
    return list;
}

QStringList textsOf(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& element : value.toArray())
        list << element.toString();
    return list;
}

} // namespace

bool ClerkResult::save(const QString& path) const
{
    const QJsonObject object{
        {QStringLiteral("operator"), operatorCode},
        {QStringLiteral("seconds"), seconds},
        {QStringLiteral("steps"), counts(steps)},
        {QStringLiteral("collisions"), counts(collisions)},
        {QStringLiteral("failures"), counts(failures)},
        {QStringLiteral("queryMilliseconds"), numbers(queryMilliseconds)},
        {QStringLiteral("batchMilliseconds"), numbers(batchMilliseconds)},
        {QStringLiteral("committed"), QJsonArray::fromStringList(committedBatches)},
        {QStringLiteral("failed"), QJsonArray::fromStringList(failedBatches)},
    };
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(QJsonDocument(object).toJson(QJsonDocument::Compact)) > 0;
}

bool ClerkResult::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return false;
    const QJsonObject object = document.object();
    operatorCode = object.value(QStringLiteral("operator")).toString();
    seconds = object.value(QStringLiteral("seconds")).toDouble();
    steps = countsOf(object.value(QStringLiteral("steps")));
    collisions = countsOf(object.value(QStringLiteral("collisions")));
    failures = countsOf(object.value(QStringLiteral("failures")));
    queryMilliseconds = numbersOf(object.value(QStringLiteral("queryMilliseconds")));
    batchMilliseconds = numbersOf(object.value(QStringLiteral("batchMilliseconds")));
    committedBatches = textsOf(object.value(QStringLiteral("committed")));
    failedBatches = textsOf(object.value(QStringLiteral("failed")));
    return true;
}
