#include "CsvWriter.h"

namespace admin {

QString CsvWriter::record(const QStringList& fields)
{
    QString text;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += field(fields.at(i));
    }
    text += QLatin1String("\r\n");
    return text;
}

QString CsvWriter::field(const QString& value)
{
    const bool needsQuotes =
        value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
        value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) ||
        (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace admin
