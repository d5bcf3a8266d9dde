#pragma once

#include <QString>
#include <QStringList>

namespace admin {

// Formats RFC 4180 records: fields joined by commas, a record ended by CRLF. A field is
// quoted (its quotes doubled) when it holds a comma, a quote, a line break or a blank at
// either end, so that every text reads back unchanged.
class CsvWriter {
public:
    static QString record(const QStringList& fields);
    static QString field(const QString& value);
};

} // namespace admin
