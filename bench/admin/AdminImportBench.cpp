// Times nelvo-admin importing 100,000 storage areas and 100,000 mappings into a fresh
// SQLite database, next to the floor: the same rows inserted through the SQLite C API with
// one prepared statement in one transaction. Prints the time per 10,000 rows and the ratio.
#include "AdminTool.h"
#include "BenchDatabase.h"
#include "Console.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

constexpr int RowCount = 100000;
constexpr int AreaCount = 100;

QString storageCode(int i)
{
    return QStringLiteral("S%1").arg(i, 6, 10, QLatin1Char('0'));
}
QString areaCode(int i)
{
    return QStringLiteral("A%1").arg(i % AreaCount, 3, 10, QLatin1Char('0'));
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs the tool in this process; its exit status.
int runTool(const QStringList& arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    admin::Console console(out, err);
    const int status = admin::AdminTool(console).run(QStringList{"nelvo-admin"} + arguments +
                                                     QStringList{"--operator", BenchOperator});
    if (status != 0)
        std::fprintf(stderr, "%s", err.data().constData());
    return status;
}

double toolMilliseconds(const QString& database, const QString& table, const QString& file)
{
    QElapsedTimer timer;
    timer.start();
    if (runTool({"--database", database, "import", table, file}) != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

// The floor: rows through one prepared statement in one transaction.
double floorMilliseconds(sqlite3* db, const char* sql, int columns,
                         const std::function<QByteArray(int row, int column)>& value)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    for (int row = 0; row < RowCount; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QByteArray text = value(row, column);
            sqlite3_bind_text(statement, column + 1, text.constData(), int(text.size()),
                              SQLITE_TRANSIENT);
        }
        if (sqlite3_step(statement) != SQLITE_DONE)
            return -1;
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    if (sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) != SQLITE_OK)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

void printLine(const char* what, double tool, double floor)
{
    const double per = 10000.0 / RowCount;
    std::printf("%-14s tool %8.1f ms per 10,000 rows   C API %8.1f ms per 10,000 rows   "
                "ratio %.2f (target <= 2)\n",
                what, tool * per, floor * per, tool / floor);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString toolDb = folder.filePath("tool.sqlite");
    const QString floorDb = folder.filePath("floor.sqlite");

    QByteArray areas = "f_qybm,f_qymc,f_qylx\n";
    for (int i = 0; i < AreaCount; ++i)
        areas += areaCode(i).toUtf8() + ",拣货区,PICK\n";
    QByteArray storage = "f_ccqybm,f_ccqymc\n";
    QByteArray mappings = "f_qylx,f_qybm,f_ccqybm\n";
    for (int i = 0; i < RowCount; ++i) {
        storage += storageCode(i).toUtf8() + ",储位 " + QByteArray::number(i) + "\n";
        mappings += "PICK," + areaCode(i).toUtf8() + "," + storageCode(i).toUtf8() + "\n";
    }
    if (!writeFile(folder.filePath("areas.csv"), areas) ||
        !writeFile(folder.filePath("storage.csv"), storage) ||
        !writeFile(folder.filePath("mappings.csv"), mappings))
        return 1;

    if (!createBenchDatabase(toolDb) ||
        runTool({"--database", toolDb, "import", "areas", folder.filePath("areas.csv")}) != 0)
        return 1;
    const double toolStorage =
        toolMilliseconds(toolDb, "storage-areas", folder.filePath("storage.csv"));
    const double toolMappings =
        toolMilliseconds(toolDb, "mappings", folder.filePath("mappings.csv"));

    // The floor database gets the same tables from the data server's own schema.
    if (!createBenchDatabase(floorDb) ||
        runTool({"--database", floorDb, "import", "areas", folder.filePath("areas.csv")}) != 0)
        return 1;
    sqlite3* db = nullptr;
    if (sqlite3_open(floorDb.toUtf8().constData(), &db) != SQLITE_OK)
        return 1;
    const double floorStorage = floorMilliseconds(
        db, "insert into tbCCQyda (f_ccqybm, f_ccqymc) values (?, ?)", 2, [](int row, int column) {
            return column == 0 ? storageCode(row).toUtf8() : "储位 " + QByteArray::number(row);
        });
    const double floorMappings =
        floorMilliseconds(db, "insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values (?, ?, ?)", 3,
                          [](int row, int column) {
                              return column == 0   ? QByteArray("PICK")
                                     : column == 1 ? areaCode(row).toUtf8()
                                                   : storageCode(row).toUtf8();
                          });
    sqlite3_close(db);
    if (toolStorage < 0 || toolMappings < 0 || floorStorage < 0 || floorMappings < 0) {
        std::fprintf(stderr, "an import failed\n");
        return 1;
    }
    std::printf("importing %d rows on SQLite (whole command: read, check and add part by part in "
                "one transaction)\n",
                RowCount);
    printLine("storage areas", toolStorage, floorStorage);
    printLine("mappings", toolMappings, floorMappings);
    return 0;
}
