#pragma once

#include "server/DataServer.h"

#include <QString>

// The operator the benchmarks import as.
inline constexpr const char* BenchOperator = "9001";

// Creates the SQLite database path with the data server's tables and the employee
// BenchOperator. False when that failed.
inline bool createBenchDatabase(const QString& path)
{
    QString error;
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(path, {}, &error));
    return server && server->executeScript(QStringLiteral("insert into tbZyda (f_zybm, f_zymc) "
                                                          "values ('%1', '管理员');")
                                               .arg(QLatin1String(BenchOperator)),
                                           &error);
}
