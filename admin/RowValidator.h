#pragma once

#include "AdminTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace server {
class WorkTransaction;
}

namespace admin {

class ImportKeys;

// What is wrong with one row: its line, the column (empty for the row as a whole), why.
struct RowIssue {
    int line = 0;
    QString column;
    QString reason;
};

// One row of an import file: its line and its values, one per column in column order.
struct ImportRow {
    int line = 0;
    QStringList values;
};

// Checks the rows of an import file against the rules the area window keeps. The file
// comes in parts, in file order; the rows of earlier parts count as part of the file for
// the rules of uniqueness (through keys), and the database is read as work sees it.
class RowValidator {
public:
    virtual ~RowValidator() = default;

    static std::unique_ptr<RowValidator> create(AdminTable table);

    // Checks one part of the file: appends an issue per fault found and accepts the keys
    // of the good rows into keys. False with error when the database could not be read.
    virtual bool check(const QList<ImportRow>& rows, server::WorkTransaction& work,
                       ImportKeys& keys, QList<RowIssue>& issues, QString& error) = 0;

    // The rules on the values of one row of table alone (what a file must hold to be
    // imported, whatever the database holds); appends an issue per fault.
    static void checkValues(AdminTable table, const QStringList& values, int line,
                            QList<RowIssue>& issues);

    // Longest code and name the tables hold (characters).
    static constexpr int MaxCodeLength = 20;
    static constexpr int MaxNameLength = 60;

protected:
    // A value that reads back unchanged and fits: no control characters (NUL, tabs, line
    // breaks), at most maxLength characters. True when it passed.
    static bool checkText(const QString& column, const QString& value, int maxLength, int line,
                          QList<RowIssue>& issues);
    // A code: checkText, not empty after trimming, and nothing invisible inside (no blank
    // of any kind, no format character such as U+200B), since the window takes a code back
    // from its display text at the first blank and a clerk cannot tell such codes apart.
    static bool checkCode(const QString& column, const QString& value, int line,
                          QList<RowIssue>& issues);
    // A name: checkText and not empty after trimming.
    static bool checkName(const QString& column, const QString& value, int line,
                          QList<RowIssue>& issues);
    // An area kind: exactly one of the keys PICK, PUT, MPICK.
    static bool checkKind(const QString& column, const QString& value, int line,
                          QList<RowIssue>& issues);
};

// A value of a file as messages quote it: in double quotes, control characters written
// as \u001b, cut after about 80 characters.
QString quotedValue(const QString& value);

} // namespace admin
