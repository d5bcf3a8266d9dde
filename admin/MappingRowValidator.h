#pragma once

#include "RowValidator.h"

namespace admin {

// Rows of tbqydz (f_qylx, f_qybm, f_ccqybm): one of the three kinds, an area of that kind
// and a storage area, both in the database, and each storage area mapped at most once per
// kind, over the file and the database. A refusal for that last rule names the area that
// holds the storage area.
class MappingRowValidator : public RowValidator {
public:
    bool check(const QList<ImportRow>& rows, server::WorkTransaction& work, ImportKeys& keys,
               QList<RowIssue>& issues, QString& error) override;

private:
    QStringList m_kindSpellings; // read once, on the first part
};

} // namespace admin
