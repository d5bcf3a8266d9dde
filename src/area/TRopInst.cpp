#include "area/TRopInst.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <array>

namespace {

constexpr int kShadow = 16;

// The 8 x 8 shadow pattern, most significant bit leftmost, as an image whose 0 bits take
// the text colour and 1 bits the brush colour.
QImage shadowTile(const QColor& zeroColor, const QColor& oneColor)
{
    static constexpr std::array<uchar, 8> rows{0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};
    QImage bits(8, 8, QImage::Format_Mono);
    for (int y = 0; y < 8; ++y)
        *bits.scanLine(y) = rows[y];
    bits.setColorTable({zeroColor.rgb(), oneColor.rgb()});
    return bits.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TRopInst::TRopInst(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TRopInst"));
    setWindowTitle(QStringLiteral("RopInst"));
    // Every pixel is painted from the capture, so nothing is erased before painting.
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TRopInst::Timer1Timer);
}

QSize TRopInst::textSize() const
{
    const QFontMetrics metrics(font());
    int width = 0;
    for (const QString& line : m_lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return {width, int(m_lines.size()) * metrics.height()};
}

void TRopInst::PlaceNote()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize();
    const QSize text = textSize();
    // Centred by the text's size, not the window's: the note sits 20 right and 15 below.
    const int left = xPos != 0 ? xPos : (screenSize.width() - text.width()) / 2;
    const int top = yPos != 0 ? yPos : (screenSize.height() - text.height()) / 2;
    const int width = text.width() + 40;
    const int height = text.height() + 30;
    setFixedSize(width, height);
    move(left, top);

    // A compositor keeps no image of what a window covers: capture it before showing.
    m_background = QImage();
    if (screen) {
        const QPixmap capture =
            const_cast<QScreen*>(screen)->grabWindow(0, left, top, width, height);
        if (!capture.isNull())
            m_background = capture.toImage().convertToFormat(QImage::Format_RGB32);
    }

    if (TimeClose > 0) {
        Timer1->setInterval(TimeClose);
        Timer1->start();
    }
}

bool TRopInst::event(QEvent* event)
{
    // Any key closes the note, Tab and Escape included.
    if (event->type() == QEvent::KeyPress) {
        close();
        return true;
    }
    return QDialog::event(event);
}

void TRopInst::mousePressEvent(QMouseEvent*)
{
    close();
}

void TRopInst::Timer1Timer()
{
    close();
}

void TRopInst::paintEvent(QPaintEvent*)
{
    FormPaint();
}

void TRopInst::FormPaint()
{
    const int w = width();
    const int h = height();
    QPainter painter(this);

    if (m_background.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(0, 0, m_background);

    // Box: outer edge (1, 1) to (W - 16, H - 16), the 2-pixel pen inside it. Drawn with the
    // surface's brush first (white on the first painting), then with the note's brush.
    QPen pen(Qt::black, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const QRectF box(2, 2, w - 19, h - 19);
    painter.setBrush(m_paintedBefore ? m_brush : QBrush(Qt::white, Qt::SolidPattern));
    painter.drawRect(box);
    painter.setBrush(m_brush);
    painter.drawRect(box);
    m_paintedBefore = true;

    // Text: left-aligned from the top, a line per entry, clipped to (6, 6)-(W - 21, H - 21).
    const QFontMetrics metrics(font());
    painter.save();
    painter.setClipRect(QRect(QPoint(6, 6), QPoint(w - 22, h - 22)));
    painter.setFont(font());
    painter.setPen(m_textColor);
    for (int i = 0; i < m_lines.size(); ++i)
        painter.drawText(6, 6 + i * metrics.height() + metrics.ascent(), m_lines[i]);
    painter.restore();

    // Shadow: the pattern AND what lies under the note, in the bottom and the right band.
    painter.setPen(Qt::NoPen);
    painter.setBrushOrigin(0, 0);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    const QBrush pattern(shadowTile(m_textColor, m_brush.color()));
    painter.fillRect(QRect(kShadow, h - kShadow, w - kShadow, kShadow), pattern);
    painter.fillRect(QRect(w - kShadow, kShadow, kShadow, h), pattern);
}
