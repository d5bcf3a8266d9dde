#include "shared/TMessageForm.h"

#include "platform/Fonts.h"
#include "platform/Variant.h"
#include "platform/Window.h"
#include "shared/ReadIniValue.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPalette>

namespace {

int32_t lastDialogColorValue = 0;

// The letter after the single "&" of a caption, or the empty text.
QString mnemonicOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption.mid(i + 1, 1);
        ++i; // "&&" is a literal ampersand
    }
    return QString();
}

} // namespace

TMessageForm::TMessageForm()
    : QDialog(platform::ModuleApplication::mainWindow(),
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TMessageForm"));
    lastDialogColorValue = platform::textToInt32(
        ReadIniValue(QStringLiteral("Korlivapos.ini"), QStringLiteral("ColorOption"),
                     QStringLiteral("backcolor"), QStringLiteral("15528176")));
    QPalette colors = palette();
    colors.setColor(QPalette::Window, colorFromValue(lastDialogColorValue));
    setPalette(colors);
    setAutoFillBackground(true);

    QFont messageFont;
    if (platform::systemMessageFont(messageFont))
        setFont(messageFont);
}

int32_t TMessageForm::dialogColorValue()
{
    return lastDialogColorValue;
}

QColor TMessageForm::colorFromValue(int32_t value)
{
    const uint32_t bits = uint32_t(value);
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

void TMessageForm::reject()
{
    done(2);
}

void TMessageForm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        done(1);
        return;
    case Qt::Key_Escape:
        done(2);
        return;
    default:
        break;
    }
    const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (plainKey && event->text().size() == 1 && clickMnemonic(event->text()))
        return;
    QDialog::keyPressEvent(event);
}

bool TMessageForm::clickMnemonic(const QString& letter)
{
    const QList<QAbstractButton*> buttons = findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        const QString mnemonic = mnemonicOf(button->text());
        if (!mnemonic.isEmpty() && mnemonic.compare(letter, Qt::CaseInsensitive) == 0 &&
            !button->isHidden() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}
