// The area window's shortcut note and the assistant button that shows it.
#include "area/AreaHelp.h"

#include "area/TRopWin.h"
#include "area/TfrmArea.h"
#include "platform/Fonts.h"

TRopWin* createAreaShortcutNote(QObject* owner)
{
    platform::installFontSubstitutions();
    auto* note = new TRopWin(owner);
    note->setObjectName(QStringLiteral("RopHelp"));
    note->setLines({QStringLiteral("快捷键："), QStringLiteral("    "),
                    QStringLiteral("    查找: CTRL + L"), QStringLiteral("    查找下一个:F3"),
                    QStringLiteral("    退  出: ESC"), QString(), QString()});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    note->setFont(font);
    return note;
}

void TfrmArea::btnhandClick()
{
    if (RopHelp)
        RopHelp->ShowNote();
}
