#pragma once

#include "RowValidator.h"

#include <QHash>

namespace admin {

// Rows of tbCCQyda (f_ccqybm, f_ccqymc): a code unique in the file and in the database,
// and a name.
class StorageAreaRowValidator : public RowValidator {
public:
    explicit StorageAreaRowValidator(const DatabaseSnapshot& snapshot) : m_snapshot(snapshot) {}
    void check(const QStringList& values, int line, QList<RowIssue>& issues) override;
    void expectRows(qsizetype count) override { m_codeLines.reserve(count); }

private:
    const DatabaseSnapshot& m_snapshot;
    QHash<QString, int> m_codeLines; // code -> line of the file that brings it
};

} // namespace admin
