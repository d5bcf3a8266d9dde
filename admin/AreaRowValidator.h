#pragma once

#include "RowValidator.h"

#include <QHash>

namespace admin {

// Rows of tbQyda (f_qybm, f_qymc, f_qylx): a code unique over every kind, in the file and
// in the database; a name; one of the three kinds.
class AreaRowValidator : public RowValidator {
public:
    explicit AreaRowValidator(const DatabaseSnapshot& snapshot) : m_snapshot(snapshot) {}
    void check(const QStringList& values, int line, QList<RowIssue>& issues) override;
    void expectRows(qsizetype count) override { m_codeLines.reserve(count); }

private:
    const DatabaseSnapshot& m_snapshot;
    QHash<QString, int> m_codeLines; // code -> line of the file that brings it
};

} // namespace admin
