#pragma once

#include <QColor>
#include <QDialog>
#include <cstdint>

class QKeyEvent;

// The module's message window: an owned window of the module's application window with the
// INI-configured background colour and the system message font. Enter ends it with 1,
// Escape and the close box with 2, whatever buttons it shows; typing a button's mnemonic
// letter clicks that button.
class TMessageForm : public QDialog {
    Q_OBJECT
public:
    // Reads the colour from "Korlivapos.ini" ([ColorOption] backcolor, default 15528176).
    // Raises platform::Error "'value' is not a valid integer value" when it is no integer.
    TMessageForm();

    // The colour value read by the latest construction (low byte red, then green, blue).
    static int32_t dialogColorValue();
    // The QColor of a colour value.
    static QColor colorFromValue(int32_t value);

    void reject() override; // the close box and Escape: result 2

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool clickMnemonic(const QString& letter);
};
