#pragma once

#include "AdminTable.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace admin {

class ServerSession;

// The keys already in the database that an import is checked against.
struct DatabaseSnapshot {
    QHash<QString, QString> areaKinds;   // area code -> stored kind, as stored
    QSet<QString> storageAreas;          // storage-area codes
    QHash<QString, QString> mappedAreas; // mappingKey(kind, storage area) -> area code

    static QString mappingKey(const QString& kind, const QString& storageArea)
    {
        QString key; // one allocation: a key is made for every row of an import
        key.reserve(kind.size() + 1 + storageArea.size());
        key.append(kind).append(u'\n').append(storageArea);
        return key;
    }

    // Loads what an import into table is checked against. False with error on failure.
    bool load(ServerSession& session, AdminTable table, QString& error);
};

} // namespace admin
