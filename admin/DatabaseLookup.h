#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace server {
class WorkTransaction;
}

namespace admin {

// The keys an import is checked against, read from the database part by part (for the
// codes of one part of the file), so that nothing of a large table is held. Every
// function answers false with error when the database cannot be read.
namespace DatabaseLookup {

// The kind an area code has in tbQyda (as the window reads a stored kind: PICK, PUT,
// MPICK, or the stored value when it is none of them), for those of codes that exist.
bool areaKinds(server::WorkTransaction& work, const QStringList& codes,
               QHash<QString, QString>& kinds, QString& error);
// Those of codes that exist in tbCCQyda.
bool storageAreas(server::WorkTransaction& work, const QStringList& codes, QSet<QString>& found,
                  QString& error);
// The spellings of kinds tbqydz holds (e.g. "PICK" and "pick").
bool mappingKindSpellings(server::WorkTransaction& work, QStringList& spellings, QString& error);
// The areas that hold storage areas of codes in tbqydz, by mappingKey(kind, storage
// area); kindSpellings (from mappingKindSpellings) lets the database use its key.
bool mappedAreas(server::WorkTransaction& work, const QStringList& kindSpellings,
                 const QStringList& storageAreaCodes, QHash<QString, QString>& areas,
                 QString& error);

inline QString mappingKey(const QString& kind, const QString& storageArea)
{
    return kind + u'\n' + storageArea;
}

} // namespace DatabaseLookup

} // namespace admin
