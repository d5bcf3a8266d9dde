#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace admin {

// One record of a CSV file: its fields as raw bytes and the line it starts on.
struct CsvRecord {
    int line = 0;             // 1-based line of the record's first character
    QList<QByteArray> fields; // unquoted, doubled quotes folded
    bool blank = false;       // an empty line (no field at all)
    QString error;            // why the record is malformed; empty when well formed
};

// Reads RFC 4180 records (comma separated, double-quoted fields that may hold commas,
// quotes and line breaks; CRLF or LF line ends) from bytes in an ASCII-compatible
// encoding. The parse works on bytes: the comma, the quote and the line breaks never occur
// inside a multi-byte character of UTF-8 or GB18030. A leading UTF-8 byte-order mark is
// skipped. A malformed record comes back with error set; reading goes on at the next line.
class CsvReader {
public:
    explicit CsvReader(QByteArray data);

    // Fills record with the next record; false at the end of the data.
    bool next(CsvRecord& record);

private:
    bool atEnd() const { return m_position >= m_data.size(); }
    char peek() const { return m_data.at(m_position); }
    void skipLineBreak();
    void skipRestOfLine();
    bool readQuoted(QByteArray& field, QString& error);
    bool readUnquoted(QByteArray& field, QString& error);

    QByteArray m_data;
    qsizetype m_position = 0;
    int m_line = 1;
};

} // namespace admin
