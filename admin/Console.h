#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace admin {

// Where the tool speaks: results on the output device, messages and progress on the error
// device (standard output and standard error in the program; buffers in the tests).
class Console {
public:
    Console(QIODevice& output, QIODevice& errors) : m_output(output), m_errors(errors) {}

    // One line of results (UTF-8, a line break added). A line break inside stays; every
    // other control character (escape codes, BEL...) is written as \u001b, so that text
    // from a file or the database cannot drive the terminal.
    void print(const QString& line) { write(m_output, line); }
    // One line of messages, written like print().
    void warn(const QString& line) { write(m_errors, line); }
    // Raw bytes on the output device (an export to "-"). False when writing failed.
    bool writeOutput(const QByteArray& bytes) { return m_output.write(bytes) == bytes.size(); }

private:
    static void write(QIODevice& device, const QString& line)
    {
        QString shown;
        shown.reserve(line.size());
        for (const QChar c : line) {
            if (c.category() == QChar::Other_Control && c != u'\n')
                shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                shown += c;
        }
        device.write(shown.toUtf8() + '\n');
    }

    QIODevice& m_output;
    QIODevice& m_errors;
};

} // namespace admin
