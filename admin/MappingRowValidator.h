#pragma once

#include "RowValidator.h"

#include <QHash>

namespace admin {

// Rows of tbqydz (f_qylx, f_qybm, f_ccqybm): one of the three kinds, an area of that kind
// and a storage area, both in the database, and each storage area mapped at most once per
// kind, over the file and the database. A refusal for that last rule names the area that
// holds the storage area.
class MappingRowValidator : public RowValidator {
public:
    explicit MappingRowValidator(const DatabaseSnapshot& snapshot) : m_snapshot(snapshot) {}
    void check(const QStringList& values, int line, QList<RowIssue>& issues) override;
    void expectRows(qsizetype count) override { m_fileMappings.reserve(count); }

private:
    void checkArea(const QString& kind, bool kindOk, const QString& area, int line,
                   QList<RowIssue>& issues) const;

    struct FileMapping {
        int line;
        QString area;
    };
    const DatabaseSnapshot& m_snapshot;
    QHash<QString, FileMapping> m_fileMappings; // mappingKey(kind, storage area) -> row
};

} // namespace admin
