#include "CsvReader.h"

#include <QIODevice>

namespace admin {

CsvReader::CsvReader(QIODevice& device, qsizetype chunkSize)
    : m_device(device), m_chunkSize(qMax<qsizetype>(chunkSize, 1))
{
    while (m_data.size() < 3 && fill()) {
    }
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_position = 3;
}

bool CsvReader::fill()
{
    if (m_deviceDone)
        return false;
    const QByteArray chunk = m_device.read(m_chunkSize);
    if (chunk.isEmpty()) {
        m_deviceDone = true;
        return false;
    }
    m_data += chunk;
    return true;
}

bool CsvReader::atEnd()
{
    return m_position >= m_data.size() && !fill();
}

bool CsvReader::next(CsvRecord& record)
{
    // Bytes before the record are dropped once a chunk of them has gathered, so the
    // buffer stays about one chunk (plus the record) long without moving it for every record.
    if (m_position >= m_chunkSize) {
        m_data.remove(0, m_position);
        m_position = 0;
    }
    // Reset field by field: the field list keeps its capacity from one record to the next.
    record.line = 0;
    record.fields.clear();
    record.blank = false;
    record.error.clear();
    record.errorField = 0;
    if (atEnd())
        return false;
    record.line = m_line;
    if (peek() == '\n' || peek() == '\r') {
        record.blank = true;
        skipLineBreak();
        return true;
    }
    for (;;) {
        QByteArray field;
        const bool ok = !atEnd() && peek() == '"' ? readQuoted(field, record.error)
                                                  : readUnquoted(field, record.error);
        if (!ok) {
            record.errorField = record.fields.size();
            skipRestOfLine();
            return true;
        }
        record.fields << field;
        if (atEnd())
            return true;
        if (peek() == ',') {
            ++m_position;
            continue;
        }
        skipLineBreak();
        return true;
    }
}

void CsvReader::skipLineBreak()
{
    if (atEnd())
        return;
    if (peek() == '\r')
        ++m_position;
    if (!atEnd() && peek() == '\n')
        ++m_position;
    ++m_line;
}

void CsvReader::skipRestOfLine()
{
    while (!atEnd() && peek() != '\n' && peek() != '\r')
        ++m_position;
    skipLineBreak();
}

bool CsvReader::readQuoted(QByteArray& field, QString& error)
{
    const int startLine = m_line;
    ++m_position; // the opening quote
    for (;;) {
        const qsizetype quote = m_data.indexOf('"', m_position);
        const qsizetype pieceEnd = quote < 0 ? m_data.size() : quote;
        const QByteArrayView piece(m_data.constData() + m_position, pieceEnd - m_position);
        m_line += int(piece.count('\n'));
        field += piece;
        m_position = pieceEnd;
        if (quote < 0) {
            if (fill())
                continue;
            error = QStringLiteral("quoted field opened on line %1 is not closed").arg(startLine);
            return false;
        }
        ++m_position; // the quote found
        if (!atEnd() && peek() == '"') {
            field += '"';
            ++m_position;
            continue;
        }
        if (atEnd() || peek() == ',' || peek() == '\r' || peek() == '\n')
            return true;
        error = QStringLiteral("text after the closing quote of a field");
        return false;
    }
}

bool CsvReader::readUnquoted(QByteArray& field, QString& error)
{
    const qsizetype start = m_position;
    while (!atEnd()) {
        const char c = peek();
        if (c == ',' || c == '\r' || c == '\n')
            break;
        if (c == '"') {
            error = QStringLiteral("quote inside a field that does not start with a quote");
            return false;
        }
        ++m_position;
    }
    field = m_data.mid(start, m_position - start);
    return true;
}

} // namespace admin
