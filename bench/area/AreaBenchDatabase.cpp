#include "AreaBenchDatabase.h"

#include "server/DataServer.h"

#include <sqlite3.h>

namespace {

bool run(sqlite3* db, const char* sql, QString& error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = QString::fromUtf8(message ? message : "sqlite3_exec failed");
    sqlite3_free(message);
    return false;
}

// Inserts count rows through one prepared statement; values(i) gives the row's texts.
template <typename Values>
bool insertRows(sqlite3* db, const char* sql, int count, Values values, QString& error)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    bool ok = true;
    for (int row = 0; row < count && ok; ++row) {
        const QList<QByteArray> texts = values(row);
        for (int column = 0; column < int(texts.size()); ++column)
            sqlite3_bind_text(statement, column + 1, texts[column].constData(),
                              int(texts[column].size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_reset(statement);
    }
    if (!ok)
        error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    return ok;
}

QByteArray numbered(const char* prefix, int number)
{
    return QByteArray(prefix) + QByteArray::number(number).rightJustified(6, '0');
}

} // namespace

namespace AreaBenchDatabase {

bool build(const QString& path, int storageAreas, QString& error)
{
    {
        server::DataServer* server = server::DataServer::open(
            path, {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true}, &error);
        if (!server)
            return false;
        auto ref = platform::DispatchRef<server::DataServer>::adopt(server);
        if (!server->loadDemoData(&error) ||
            !server->executeScript(
                QStringLiteral("delete from tbqydz; delete from tbQyda; delete from tbCCQyda;"),
                &error))
            return false;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        error = QStringLiteral("cannot open %1").arg(path);
        sqlite3_close(db);
        return false;
    }
    static const char* const Kinds[] = {"PICK", "PUT", "MPICK"};
    const bool ok =
        run(db, "begin", error) &&
        insertRows(
            db, "insert into tbCCQyda (f_ccqybm, f_ccqymc) values (?, ?)", storageAreas,
            [](int i) {
                return QList<QByteArray>{numbered("S", i), "存储区域" + QByteArray::number(i)};
            },
            error) &&
        insertRows(
            db, "insert into tbQyda (f_qybm, f_qymc, f_qylx) values (?, ?, ?)", storageAreas / 5,
            [](int i) {
                return QList<QByteArray>{numbered("A", i), "区域" + QByteArray::number(i),
                                         Kinds[i % 3]};
            },
            error) &&
        insertRows(
            db, "insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values (?, ?, ?)", storageAreas / 2,
            [](int i) {
                return QList<QByteArray>{"PICK", "A000000", numbered("S", i)};
            },
            error) &&
        run(db, "commit", error);
    sqlite3_close(db);
    return ok;
}

} // namespace AreaBenchDatabase
