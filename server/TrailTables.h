#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace server {

// A table the trail records: its columns as the trail's JSON objects name them and the
// columns of its key.
struct TrailTable {
    QString name; // as the trail shows it ("tbQyda")
    QStringList columns;
    QStringList keyColumns;

    // The recorded table named name (any case), or nullptr.
    static const TrailTable* find(const QString& name);
    // Whether a and b name the same row (equal key columns).
    bool sameKey(const QJsonObject& a, const QJsonObject& b) const;
    // The row's key as the trail shows it ("A01", "PICK/S001").
    QString keyText(const QJsonObject& row) const;
};

} // namespace server
