#pragma once

class QWidget;

// Moves a dialog (a window) so that its frame is centred on the part of its owner (its
// parent widget) that can be seen, kept inside the owner's screen. Without an owner the
// dialog is centred on its screen.
void CentreOnOwner(QWidget& dialog);
