#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

namespace admin {

// One record of a CSV file: its fields as raw bytes and the line it starts on.
struct CsvRecord {
    int line = 0;             // 1-based line of the record's first character
    QList<QByteArray> fields; // unquoted, doubled quotes folded
    bool blank = false;       // an empty line (no field at all)
    QString error;            // why the record is malformed; empty when well formed
    qsizetype errorField = 0; // 0-based index of the field the error is in
};

// Reads RFC 4180 records (comma separated, double-quoted fields that may hold commas,
// quotes and line breaks; CRLF or LF line ends) from a device, a chunk at a time, so that
// only the record being read is held. The parse works on bytes of an ASCII-compatible
// encoding: the comma, the quote and the line breaks never occur inside a multi-byte
// character of UTF-8 or GB18030. A leading UTF-8 byte-order mark is skipped. A malformed
// record comes back with error set; reading goes on at the next line.
class CsvReader {
public:
    // Reads from device (open for reading, outliving the reader) chunkSize bytes at a time.
    explicit CsvReader(QIODevice& device, qsizetype chunkSize = 1 << 16);

    // Fills record with the next record; false at the end of the data.
    bool next(CsvRecord& record);

private:
    // Whether every byte has been read; reads the next chunk when the buffer is used up.
    bool atEnd();
    char peek() const { return m_data.at(m_position); }
    // Appends the next chunk to the buffer; false when the device has no more.
    bool fill();
    void skipLineBreak();
    void skipRestOfLine();
    bool readQuoted(QByteArray& field, QString& error);
    bool readUnquoted(QByteArray& field, QString& error);

    QIODevice& m_device;
    qsizetype m_chunkSize;
    QByteArray m_data; // the bytes from the start of the current record on
    qsizetype m_position = 0;
    bool m_deviceDone = false;
    int m_line = 1;
};

} // namespace admin
