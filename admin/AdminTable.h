#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace admin {

// The three tables the tool moves in and out of CSV files.
enum class AdminTable { Areas, StorageAreas, Mappings };

// "areas", "storage-areas", "mappings"; nothing for any other word.
std::optional<AdminTable> adminTableFromWord(const QString& word);
// What one row is, for messages: "area", "storage area", "mapping".
QString adminTableRowNoun(AdminTable table, bool plural);
// The database table: tbQyda, tbCCQyda, tbqydz.
QString adminTableSqlName(AdminTable table);
// The CSV header and database columns, in file order.
QStringList adminTableColumns(AdminTable table);
// The key a file is ordered by, as indexes into the columns.
QList<int> adminTableSortColumns(AdminTable table);

// The texts that insert rows (each a value per column, in column order) as few statements
// as practical: multi-row inserts of at most rowsPerStatement rows, each statement ending
// with ";\n". Every value is a single-quoted literal with its quotes doubled.
QString insertStatements(AdminTable table, const QList<QStringList>& rows,
                         int rowsPerStatement = 500);

// The area kind keys, in tree order: PICK, PUT, MPICK.
QStringList areaKindKeys();

} // namespace admin
