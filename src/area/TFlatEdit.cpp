#include "area/TFlatEdit.h"

#include <QValidator>

namespace {

// Accepts everything and turns letters into upper case one character at a time, so the
// length of the text never changes.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        for (QChar& c : input)
            c = c.toUpper();
        return Acceptable;
    }
};

} // namespace

TFlatEdit::TFlatEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    applyStyle();
}

void TFlatEdit::setFaceColor(const QColor& color)
{
    m_faceColor = color;
    applyStyle();
}

void TFlatEdit::setForceUpperCase(bool on)
{
    if (m_forceUpperCase == on)
        return;
    m_forceUpperCase = on;
    if (on) {
        setValidator(new UpperCaseValidator(this));
        setText(text().toUpper());
    } else {
        delete validator();
        setValidator(nullptr);
    }
}

void TFlatEdit::applyStyle()
{
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #008000; background: %1; "
                                 "padding: 0px 1px; }")
                      .arg(m_faceColor.name()));
}
