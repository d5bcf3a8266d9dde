#include "host/ServerErrorText.h"

QString serverErrorText(const platform::Variant& payload)
{
    static const QString lineEnd = QStringLiteral("\r\n");
    QString text;
    if (!payload.isArray()) {
        text = QStringLiteral("未知错误！") + lineEnd;
    } else {
        for (const platform::Variant& element : payload.elements()) {
            if (!element.isText()) {
                text += QStringLiteral("未知错误！") + lineEnd;
                break;
            }
            text += element.toText() + lineEnd;
        }
    }
    text.chop(2);
    return text;
}
