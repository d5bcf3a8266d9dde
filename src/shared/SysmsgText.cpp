#include "shared/SysmsgText.h"

QString IfThenText(bool condition, const QString& a, const QString& b)
{
    return condition ? a : b;
}

QString ZeroPadNumber(int width, bool cut, int64_t value)
{
    const QString digits = QString::number(value);
    if (digits.size() > width) {
        if (!cut)
            return digits;
        return width > 0 ? digits.right(width) : QString();
    }
    return QString(width - digits.size(), u'0') + digits;
}

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}
