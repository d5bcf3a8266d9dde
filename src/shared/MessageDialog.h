#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class TMessageForm;

// Kind of a message: caption and icon of the dialog.
enum class MsgKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3, Custom = 4 };

// Button kinds; bit n of MsgButtons stands for the kind of value n.
enum class MsgButton : uint16_t {
    Yes = 0,
    No,
    OK,
    Cancel,
    Abort,
    Retry,
    Ignore,
    All,
    NoToAll,
    YesToAll,
    Help
};

// A set of button kinds stored in 16 bits.
class MsgButtons {
public:
    constexpr MsgButtons() = default;
    constexpr MsgButtons(MsgButton button) : m_bits(uint16_t(1u << unsigned(button))) {}
    constexpr MsgButtons operator|(MsgButton button) const
    {
        return fromBits(uint16_t(m_bits | (1u << unsigned(button))));
    }
    constexpr bool contains(MsgButton button) const { return m_bits & (1u << unsigned(button)); }
    constexpr uint16_t bits() const { return m_bits; }
    static constexpr MsgButtons fromBits(uint16_t bits)
    {
        MsgButtons set;
        set.m_bits = bits;
        return set;
    }

private:
    uint16_t m_bits = 0;
};

// Builds the module's message dialog for text, not yet shown: caption and icon of kind, the
// requested buttons left to right in MsgButton order, sized from the window's font. The
// caller owns the dialog. Raises platform::Error when the INI colour is not an integer.
std::unique_ptr<TMessageForm> BuildMessageDialog(const QString& text, MsgKind kind,
                                                 MsgButtons buttons);

// Builds the module's message dialog, shows it modally centred on the screen (through
// platform::execModal), frees it and returns the modal result it was closed with.
// Raises platform::Error when the INI colour is not an integer (nothing is shown then).
int ShowMessageDialog(const QString& text, MsgKind kind, MsgButtons buttons);
