#include "shared/TFlatButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TFlatButton::TFlatButton(QWidget* parent) : TFlatButton(QString(), parent) {}

TFlatButton::TFlatButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setFlat(true);
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(false);
}

void TFlatButton::setBorderColor(const QColor& color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    update();
}

void TFlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    painter.setPen(m_borderColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }

    // A pressed button shows its caption one pixel down and right.
    QRect textRect = rect();
    if (isDown())
        textRect.translate(1, 1);
    const QPalette::ColorRole role = QPalette::ButtonText;
    style()->drawItemText(&painter, textRect, Qt::AlignCenter | Qt::TextShowMnemonic,
                          option.palette, isEnabled(), text(), role);
}
