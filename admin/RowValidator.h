#pragma once

#include "AdminTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace admin {

struct DatabaseSnapshot;

// What is wrong with one row: its line, the column (empty for the row as a whole), why.
struct RowIssue {
    int line = 0;
    QString column;
    QString reason;
};

// Checks the rows of an import file against the rules the area window keeps. Rows checked
// earlier count as part of the file for the rules of uniqueness, so one validator serves
// one file, its rows in file order.
class RowValidator {
public:
    virtual ~RowValidator() = default;

    // The validator of table over the database content in snapshot (which must outlive it).
    static std::unique_ptr<RowValidator> create(AdminTable table, const DatabaseSnapshot& snapshot);

    // Checks values (one per column, in column order) of the row at line; appends an issue
    // per fault found.
    virtual void check(const QStringList& values, int line, QList<RowIssue>& issues) = 0;
    // Room for about count rows to come, so the file's keys are stored without rehashing.
    virtual void expectRows(qsizetype count) { Q_UNUSED(count); }

    // Longest code and name the tables hold (characters).
    static constexpr int MaxCodeLength = 20;
    static constexpr int MaxNameLength = 60;

protected:
    // A value that reads back unchanged and fits: no control characters (NUL, tabs, line
    // breaks), at most maxLength characters. True when it passed.
    static bool checkText(const QString& column, const QString& value, int maxLength, int line,
                          QList<RowIssue>& issues);
    // A code: checkText, not empty after trimming, and no blank inside, since the window
    // takes a code back from its display text at the first blank.
    static bool checkCode(const QString& column, const QString& value, int line,
                          QList<RowIssue>& issues);
    // A name: checkText and not empty after trimming.
    static bool checkName(const QString& column, const QString& value, int line,
                          QList<RowIssue>& issues);
    // An area kind: exactly one of the keys PICK, PUT, MPICK.
    static bool checkKind(const QString& column, const QString& value, int line,
                          QList<RowIssue>& issues);
};

} // namespace admin
