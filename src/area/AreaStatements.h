#pragma once

#include <QString>

// The SQL texts of the area window and its transfers. Every value is placed between single
// quotes through EscapeSqlLiteral; the fixed parts (case, blanks, terminators) are the
// texts the host's data server is known to accept and must not be "tidied".
namespace AreaStatements {

// All areas in code order (trailing blank included).
QString areaTreeQuery();
// All storage areas (trailing blank included).
QString storageAreasQuery();
// The storage areas mapped to one area, with their names, in storage-area code order.
QString mappedStorageAreasQuery(const QString& kindKey, const QString& areaCode);
// Every mapping row of one kind: the snapshot the duplicate test of "<" and "<<" uses.
QString kindMappingQuery(const QString& kindKey);

// One statement of "<", ending with "); ".
QString mapSelectedStatement(const QString& kindKey, const QString& areaCode,
                             const QString& storageCode);
// One statement of ">", ending with "'; ".
QString unmapSelectedStatement(const QString& kindKey, const QString& areaCode,
                               const QString& storageCode);
// One statement of "<<", ending with ") ;".
QString mapAllStatement(const QString& kindKey, const QString& areaCode,
                        const QString& storageCode);
// The single statement of ">>", without terminator.
QString unmapAllStatement(const QString& kindKey, const QString& areaCode);

} // namespace AreaStatements
