#include "area/TFlatEdit.h"

#include <QValidator>
#include <algorithm>

namespace {

// Accepts everything and turns the letters an edit inserted into upper case, one character
// at a time, so the length of the text never changes. What was there before the edit (a
// stored code shown as it is) keeps its case.
class UpperCaseValidator : public QValidator {
public:
    UpperCaseValidator(const QString& textBeforeEdit, QObject* parent)
        : QValidator(parent), m_before(textBeforeEdit)
    {
    }
    State validate(QString& input, int&) const override
    {
        qsizetype prefix = 0;
        const qsizetype shorter = std::min(input.size(), m_before.size());
        while (prefix < shorter && input[prefix] == m_before[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < shorter - prefix &&
               input[input.size() - 1 - suffix] == m_before[m_before.size() - 1 - suffix])
            ++suffix;
        for (qsizetype i = prefix; i < input.size() - suffix; ++i)
            input[i] = input[i].toUpper();
        return Acceptable;
    }

private:
    const QString& m_before;
};

} // namespace

TFlatEdit::TFlatEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    applyStyle();
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_textBeforeEdit = text; });
}

void TFlatEdit::setStoredText(const QString& text)
{
    m_textBeforeEdit = text;
    setText(text);
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
        setValidator(new UpperCaseValidator(m_textBeforeEdit, this));
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
