#pragma once

#include <QFile>
#include <QString>

namespace server {

// Appends one record per QueryData / ExecuteBatch call to a trace file, so that a support
// person can see exactly what the module sent. A record is
//
//   #nelvo-sql <timestamp ISO 8601 with milliseconds> <call name> <true|false> <N>\n
//   <exactly N bytes: the text received, UTF-8>\n
//   \n
//
// so a reader takes the header line, then N bytes, then skips the two line feeds; the
// text itself may hold any character, blank lines included. Each record is written with
// one append, so several processes may share one file.
class SqlTrace {
public:
    // An empty path disables the trace. Returns false (and the trace stays disabled) when
    // the file cannot be opened for appending.
    bool open(const QString& path);
    bool isEnabled() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

    void record(const QString& timestamp, const QString& callName, bool result,
                const QString& text);

    static constexpr const char* HeaderMark = "#nelvo-sql";

private:
    QFile m_file;
};

} // namespace server
