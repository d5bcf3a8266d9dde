#include "shared/MessageDialog.h"

#include "shared/DialogPlacement.h"

#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "shared/MulDiv.h"
#include "shared/TFlatButton.h"
#include "shared/TMessageForm.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <array>
#include <iterator>

namespace {

struct KindLook {
    const char* caption; // nullptr: the application's title
    bool hasIcon;
    QStyle::StandardPixmap icon;
};

const KindLook kKinds[] = {
    {"警告", true, QStyle::SP_MessageBoxWarning},     {"错误", true, QStyle::SP_MessageBoxCritical},
    {"信息", true, QStyle::SP_MessageBoxInformation}, {"询问", true, QStyle::SP_MessageBoxQuestion},
    {nullptr, false, QStyle::SP_CustomBase},
};

struct ButtonLook {
    const char* name;
    const char* caption;
    int result;
};

constexpr int kButtonKinds = 11;

const ButtonLook kButtons[kButtonKinds] = {
    {"Yes", "是(&Y)", 6},         {"No", "不(&N)", 7},
    {"OK", "确认(&O)", 1},        {"Cancel", "放弃(&C)", 2},
    {"Abort", "&Abort", 3},       {"Retry", "&Retry", 4},
    {"Ignore", "&Ignore", 5},     {"All", "&All", 8},
    {"NoToAll", "N&o to All", 9}, {"YesToAll", "Yes to &All", 10},
    {"Help", "&Help", 0},
};

// Caption widths plus 8, measured once per button kind for the life of the process.
std::array<int, kButtonKinds> captionWidths{};

constexpr int kIconSize = 32;
const QColor kButtonBorder(0, 128, 0);

QRect screenGeometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 640, 480);
}

int captionWidth(int kind, const QFontMetrics& metrics)
{
    if (captionWidths[kind] == 0) {
        const QString caption = QString::fromUtf8(kButtons[kind].caption).remove(u'&');
        captionWidths[kind] = metrics.horizontalAdvance(caption) + 8;
    }
    return captionWidths[kind];
}

} // namespace

std::unique_ptr<TMessageForm> BuildMessageDialog(const QString& text, MsgKind kind,
                                                 MsgButtons buttons)
{
    auto dialog = std::make_unique<TMessageForm>();
    const QFontMetrics metrics(dialog->font());

    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int averageWidth = metrics.horizontalAdvance(letters) / 52;
    const int lineHeight = metrics.height();
    const int horzMargin = MulDiv(8, averageWidth, 4);
    const int vertMargin = MulDiv(8, lineHeight, 8);
    const int horzSpacing = MulDiv(10, averageWidth, 4);
    const int vertSpacing = MulDiv(10, lineHeight, 8);
    int buttonWidth = MulDiv(50, averageWidth, 4);
    const int buttonHeight = MulDiv(14, lineHeight, 8);
    const int buttonSpacing = MulDiv(4, averageWidth, 4);

    int buttonCount = 0;
    for (int b = 0; b < kButtonKinds; ++b) {
        if (!buttons.contains(MsgButton(b)))
            continue;
        ++buttonCount;
        buttonWidth = std::max(buttonWidth, captionWidth(b, metrics));
    }

    const QRect textBounds = metrics.boundingRect(
        QRect(0, 0, screenGeometry().width() / 2, 0),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs, text);
    const int textWidth = textBounds.x() + textBounds.width();
    const int textHeight = textBounds.y() + textBounds.height();

    // A value outside the enumeration is shown like Custom rather than read past the table.
    const int kindIndex =
        int(kind) >= 0 && int(kind) < int(std::size(kKinds)) ? int(kind) : int(MsgKind::Custom);
    const KindLook& look = kKinds[kindIndex];
    int iconTextWidth = textWidth;
    int iconTextHeight = textHeight;
    if (look.hasIcon) {
        iconTextWidth += horzSpacing + kIconSize;
        iconTextHeight = std::max(iconTextHeight, kIconSize);
    }
    const int buttonGroupWidth =
        buttonCount == 0 ? 0 : buttonCount * buttonWidth + (buttonCount - 1) * buttonSpacing;
    const int clientWidth = std::max(iconTextWidth, buttonGroupWidth) + 2 * horzMargin;
    const int clientHeight = iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin;
    dialog->setFixedSize(clientWidth, clientHeight);

    dialog->setWindowTitle(look.caption ? QString::fromUtf8(look.caption)
                                        : platform::ModuleApplication::title());

    if (look.hasIcon) {
        auto* image = new QLabel(dialog.get());
        image->setObjectName(QStringLiteral("Image"));
        image->setGeometry(horzMargin, vertMargin, kIconSize, kIconSize);
        image->setPixmap(dialog->style()->standardIcon(look.icon).pixmap(kIconSize, kIconSize));
    }

    auto* message = new QLabel(dialog.get());
    message->setObjectName(QStringLiteral("Message"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setText(text);
    message->setGeometry(iconTextWidth - textWidth + horzMargin, vertMargin, textWidth, textHeight);

    int left = (clientWidth - buttonGroupWidth) / 2;
    const int top = iconTextHeight + vertMargin + vertSpacing;
    for (int b = 0; b < kButtonKinds; ++b) {
        if (!buttons.contains(MsgButton(b)))
            continue;
        auto* button = new TFlatButton(QString::fromUtf8(kButtons[b].caption), dialog.get());
        button->setObjectName(QString::fromUtf8(kButtons[b].name));
        button->setBorderColor(kButtonBorder);
        button->setGeometry(left, top, buttonWidth, buttonHeight);
        const int result = kButtons[b].result;
        if (result != 0) {
            TMessageForm* owner = dialog.get();
            QObject::connect(button, &QAbstractButton::clicked, owner,
                             [owner, result] { owner->done(result); });
        }
        left += buttonWidth + buttonSpacing;
    }
    return dialog;
}

int ShowMessageDialog(const QString& text, MsgKind kind, MsgButtons buttons)
{
    // Held by a guarded pointer: the owner window may take the dialog with it while the
    // modal loop runs. Freed on every way out.
    const QPointer<TMessageForm> dialog = BuildMessageDialog(text, kind, buttons).release();
    const struct FreeDialog {
        const QPointer<TMessageForm>& dialog;
        ~FreeDialog() { delete dialog.data(); }
    } freeDialog{dialog};

    CentreOnOwner(*dialog);
    return platform::execModal(*dialog);
}
