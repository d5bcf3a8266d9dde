#pragma once

#include <QColor>
#include <QComboBox>

// A flat drop-down list without typing: a 1-pixel green border, a face of faceColor()
// and a green arrow button at the right edge.
class TFlatComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFlatComboBox(QWidget* parent = nullptr);

    void setFaceColor(const QColor& color);
    QColor faceColor() const { return m_faceColor; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_faceColor{Qt::white};
};
