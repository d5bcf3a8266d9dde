#include "area/TFlatComboBox.h"

#include <QPainter>
#include <QPolygon>

namespace {
const QColor kGreen(0, 128, 0);
constexpr int kArrowWidth = 16;
} // namespace

TFlatComboBox::TFlatComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
}

void TFlatComboBox::setFaceColor(const QColor& color)
{
    m_faceColor = color;
    update();
}

void TFlatComboBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), isEnabled() ? m_faceColor : palette().color(QPalette::Window));

    const QRect arrow(width() - kArrowWidth - 1, 1, kArrowWidth, height() - 2);
    painter.fillRect(arrow, kGreen);
    const QPoint centre = arrow.center();
    const QPolygon triangle(
        {centre + QPoint(-4, -2), centre + QPoint(4, -2), centre + QPoint(0, 2)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(triangle);

    painter.setPen(kGreen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);

    const QRect textRect(3, 1, arrow.left() - 4, height() - 2);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, currentText());
}
