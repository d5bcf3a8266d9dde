#pragma once

#include "RowValidator.h"

namespace admin {

// Rows of tbQyda (f_qybm, f_qymc, f_qylx): a code unique over every kind, in the file and
// in the database; a name; one of the three kinds.
class AreaRowValidator : public RowValidator {
public:
    bool check(const QList<ImportRow>& rows, server::WorkTransaction& work, ImportKeys& keys,
               QList<RowIssue>& issues, QString& error) override;
};

} // namespace admin
