#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QStringList>

class TRopInst;

// A non-visual component holding the text and the look of a shadowed note, and showing it.
// It keeps its own copies of the brush, font and lines: the setters copy, nothing given is
// taken over.
class TRopWin : public QObject {
    Q_OBJECT
public:
    explicit TRopWin(QObject* owner = nullptr);
    ~TRopWin() override;

    const QBrush& Brush() const { return m_brush; }
    void setBrush(const QBrush& brush) { m_brush = brush; }
    const QFont& Font() const { return m_font; }
    void setFont(const QFont& font) { m_font = font; }
    // Colour of the note's text (the font's colour); the window-text colour at creation.
    const QColor& FontColor() const { return m_fontColor; }
    void setFontColor(const QColor& color) { m_fontColor = color; }
    const QStringList& Lines() const { return m_lines; }
    void setLines(const QStringList& lines) { m_lines = lines; }
    // Above 0: the note closes itself after this many milliseconds.
    int TimeClose() const { return m_timeClose; }
    void setTimeClose(int milliseconds) { m_timeClose = milliseconds; }
    // Screen position of the note's left and top edge; 0 means centred.
    int xPos() const { return m_xPos; }
    void setXPos(int x) { m_xPos = x; }
    int yPos() const { return m_yPos; }
    void setYPos(int y) { m_yPos = y; }

    // Shows the note modally and returns when it has closed. Without lines it shows the box
    // "The Lines is empty" instead. The note window is freed on every way out, also when
    // showing raises; the error then continues to the caller.
    void ShowNote();

    // The note window while ShowNote runs, otherwise nullptr.
    TRopInst* noteWindow() const;

private:
    QBrush m_brush{Qt::white, Qt::SolidPattern};
    QFont m_font;
    QColor m_fontColor{Qt::black};
    QStringList m_lines;
    int m_timeClose = 0;
    int m_xPos = 0;
    int m_yPos = 0;
    QPointer<TRopInst> m_note;
};
