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

// The area with this code, of any kind: the add dialog's duplicate check, and after a delete
// the test that the row is gone.
QString areaCodeQuery(const QString& areaCode);
// The name stored for this code: after a rename, the test that the row has the new name.
QString areaNameQuery(const QString& areaCode);
// The area dialog's insert and update.
QString insertAreaStatement(const QString& areaCode, const QString& areaName,
                            const QString& kindKey);
QString updateAreaStatement(const QString& areaName, const QString& areaCode,
                            const QString& kindKey);
// The mapping rows of one area: the usage check before a delete.
QString areaMappingsQuery(const QString& kindKey, const QString& areaCode);
QString deleteAreaStatement(const QString& kindKey, const QString& areaCode);

} // namespace AreaStatements
