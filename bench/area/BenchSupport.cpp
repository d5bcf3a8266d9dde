#include "BenchSupport.h"

#include "area/AreaStatements.h"

#include <QFile>
#include <QTreeWidget>
#include <cstdio>
#include <sqlite3.h>

qint64 peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void printMeasurement(const Measurement& measurement)
{
    for (double ms : measurement.milliseconds)
        std::printf("%.3f ", ms);
    std::printf("%lld\n", static_cast<long long>(measurement.peakKilobytes));
}

int fail(const QString& message)
{
    std::fprintf(stderr, "area_bench: %s\n", qPrintable(message));
    return 1;
}

namespace FloorSql {

namespace {

QString columnText(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

template <typename Row> void forEachRow(sqlite3* db, const QString& sql, Row row)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) !=
        SQLITE_OK)
        return;
    while (sqlite3_step(statement) == SQLITE_ROW)
        row(statement);
    sqlite3_finalize(statement);
}

} // namespace

Rows query(sqlite3* db, const QString& sql)
{
    Rows rows;
    forEachRow(db, sql, [&rows](sqlite3_stmt* statement) {
        const int columns = sqlite3_column_count(statement);
        QStringList row;
        row.reserve(columns);
        for (int column = 0; column < columns; ++column)
            row.append(columnText(statement, column));
        rows.append(row);
    });
    return rows;
}

QStringList lines(sqlite3* db, const QString& sql, int codeColumn, int nameColumn)
{
    QStringList result;
    forEachRow(db, sql, [&](sqlite3_stmt* statement) {
        result.append(columnText(statement, codeColumn) + u' ' + columnText(statement, nameColumn));
    });
    return result;
}

void execute(sqlite3* db, const QString& batch)
{
    sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr);
    sqlite3_exec(db, batch.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

void fillAreaTree(QTreeWidget* tree, const Rows& areas)
{
    const QStringList kinds{"PICK", "PUT", "MPICK"};
    QList<QTreeWidgetItem*> roots, children[3];
    for (const QString& label : kinds)
        roots.append(new QTreeWidgetItem(tree, QStringList{label}));
    for (const QStringList& row : areas)
        children[kinds.indexOf(row[2])].append(
            new QTreeWidgetItem(QStringList{row[0] + u' ' + row[1]}));
    for (int index = 0; index < 3; ++index)
        roots[index]->addChildren(children[index]);
    tree->expandAll();
}

QString allToLeftBatch(int rows)
{
    QString batch;
    for (int i = rows / 2; i < rows; ++i)
        batch +=
            AreaStatements::mapAllStatement(QStringLiteral("PICK"), QStringLiteral("A000000"),
                                            QStringLiteral("S%1").arg(i, 6, 10, QLatin1Char('0')));
    return batch;
}

} // namespace FloorSql
