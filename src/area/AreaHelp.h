#pragma once

class QObject;
class TRopWin;

// The area window's shortcut note: seven lines in "MS Sans Serif" 11 pixels, white solid
// brush, no timer, centred. Owned by owner.
TRopWin* createAreaShortcutNote(QObject* owner);
