#pragma once

#include "RowValidator.h"

#include <QList>
#include <QString>

namespace admin {

class Console;

// Writes the issues of a file to the console, at most MaxRows rows of them; the rest are
// counted and summed up by finish().
class IssueReport {
public:
    static constexpr int MaxRows = 1000;

    IssueReport(Console& console, QString file) : m_console(console), m_file(std::move(file)) {}

    // Reports issues (of rows not reported before), in line order.
    void add(QList<RowIssue> issues);
    // Bad rows reported so far, shown or not.
    qsizetype badRows() const { return m_badRows; }
    // One line on the rows not shown, when there were any.
    void finish();

private:
    Console& m_console;
    QString m_file;
    qsizetype m_badRows = 0;
};

} // namespace admin
