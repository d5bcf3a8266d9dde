#pragma once

#include <QString>

// The benchmark's warehouse: storageAreas storage areas S000000..., storageAreas / 5 areas
// A000000... (kinds PICK, PUT, MPICK in turn) and the first half of the storage areas
// mapped to the first area, A000000 (PICK). Built with the data server's schema and demo
// parameters, the rows inserted through the SQLite C API.
namespace AreaBenchDatabase {

inline const QString BusyAreaText = QStringLiteral("A000000 区域0");

// Creates the database file at path; false with error set.
bool build(const QString& path, int storageAreas, QString& error);

} // namespace AreaBenchDatabase
