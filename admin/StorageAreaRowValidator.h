#pragma once

#include "RowValidator.h"

namespace admin {

// Rows of tbCCQyda (f_ccqybm, f_ccqymc): a code unique in the file and in the database,
// and a name.
class StorageAreaRowValidator : public RowValidator {
public:
    bool check(const QList<ImportRow>& rows, server::WorkTransaction& work, ImportKeys& keys,
               QList<RowIssue>& issues, QString& error) override;
};

} // namespace admin
