#pragma once

#include <QBrush>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QTimer>

// The note window of TRopWin: a frameless box with the lines, a black 2-pixel border and a
// dotted shadow 16 pixels to the right and below, drawn over a capture of the screen that
// lay under the note when it was placed. Any key, any mouse press or the armed timer
// closes it.
class TRopInst : public QDialog {
    Q_OBJECT
public:
    explicit TRopInst(QWidget* owner = nullptr);

    QTimer* Timer1;
    int xPos = 0;
    int yPos = 0;
    int TimeClose = 0;

    void setLines(const QStringList& lines) { m_lines = lines; }
    const QStringList& lines() const { return m_lines; }
    void setNoteBrush(const QBrush& brush) { m_brush = brush; }
    void setTextColor(const QColor& color) { m_textColor = color; }

    // Sizes the note to the text (W = TW + 40, H = TH + 30), places it (xPos/yPos, or
    // centred by the text's size when 0), captures the screen under it and arms Timer1
    // when TimeClose > 0.
    void PlaceNote();

    // The text's size as drawn: the widest line and the height of all lines.
    QSize textSize() const;
    // What lies under the note; replaces the capture PlaceNote made.
    void setBackground(const QImage& background) { m_background = background; }
    const QImage& background() const { return m_background; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void FormPaint();
    void Timer1Timer();

    QStringList m_lines;
    QBrush m_brush{Qt::white, Qt::SolidPattern};
    QColor m_textColor{Qt::black};
    QImage m_background;
    bool m_paintedBefore = false;
};
