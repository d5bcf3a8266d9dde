#pragma once

#include <QColor>
#include <QPushButton>

// A flat push button: a 1-pixel border of borderColor() around the caption, the parent's
// background showing through, the hand-point cursor. It takes no keyboard focus unless its
// window gives it a focus policy (then a dotted frame shows the focus and Space presses it),
// and is never a default button, so Enter and Escape reach the window that holds it.
class TFlatButton : public QPushButton {
    Q_OBJECT
public:
    explicit TFlatButton(QWidget* parent = nullptr);
    TFlatButton(const QString& text, QWidget* parent = nullptr);

    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_borderColor{0, 128, 0};
};
