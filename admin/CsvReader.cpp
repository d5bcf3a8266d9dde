#include "CsvReader.h"

namespace admin {

CsvReader::CsvReader(QByteArray data) : m_data(std::move(data))
{
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_position = 3;
}

bool CsvReader::next(CsvRecord& record)
{
    // Reset field by field: the field list keeps its capacity from one record to the next.
    record.line = 0;
    record.fields.clear();
    record.blank = false;
    record.error.clear();
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
        if (quote < 0) {
            m_line += int(QByteArrayView(m_data).sliced(m_position).count('\n'));
            m_position = m_data.size();
            error = QStringLiteral("quoted field opened on line %1 is not closed").arg(startLine);
            return false;
        }
        const QByteArrayView piece(m_data.constData() + m_position, quote - m_position);
        m_line += int(piece.count('\n'));
        field += piece;
        m_position = quote + 1;
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
