#include "SqlTrace.h"

namespace server {

bool SqlTrace::open(const QString& path)
{
    m_file.close();
    if (path.isEmpty())
        return true;
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void SqlTrace::record(const QString& timestamp, const QString& callName, bool result,
                      const QString& text)
{
    if (!m_file.isOpen())
        return;
    const QByteArray body = text.toUtf8();
    QByteArray entry = QByteArray(HeaderMark) + ' ' + timestamp.toUtf8() + ' ' + callName.toUtf8() +
                       ' ' + (result ? "true" : "false") + ' ' + QByteArray::number(body.size()) +
                       '\n';
    entry += body;
    entry += "\n\n";
    m_file.write(entry);
}

} // namespace server
