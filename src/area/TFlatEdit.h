#pragma once

#include <QColor>
#include <QLineEdit>

// A flat single-line edit: a 1-pixel green border around a plain face. With upper case
// forced, every letter typed or pasted is turned into its upper-case form; a text put in
// with setStoredText is kept exactly as it is.
class TFlatEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFlatEdit(QWidget* parent = nullptr);

    void setFaceColor(const QColor& color);
    QColor faceColor() const { return m_faceColor; }

    void setForceUpperCase(bool on);
    bool forceUpperCase() const { return m_forceUpperCase; }

    // Shows a stored value as it is, lower-case letters included (only typing changes case).
    void setStoredText(const QString& text);

private:
    void applyStyle();

    QColor m_faceColor{Qt::white};
    bool m_forceUpperCase = false;
    QString m_textBeforeEdit; // what the upper-casing compares an edit with
};
