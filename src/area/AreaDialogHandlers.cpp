// TEMPORARY placeholder so the area window links while its dialogs are being written.
// Replaced by AreaMaintenance.cpp, AreaLocate.cpp and AreaHelp.cpp.
#include "area/TfrmArea.h"
#include "area/AreaHelp.h"

TRopWin* createAreaShortcutNote(QObject*) { return nullptr; }
TfrmQyda* TfrmArea::areaDialog() const { return nullptr; }
TfrmQyda* TfrmArea::ensureAreaDialog() { return nullptr; }
void TfrmArea::TbnAddClick() {}
void TfrmArea::TbnupdateClick() {}
void TfrmArea::TbnDeleteClick() {}
bool TfrmArea::AreaInUse(const QString&, const QString&) { return false; }
void TfrmArea::TbnLocateClick() {}
void TfrmArea::FindArea(bool) {}
void TfrmArea::btnhandClick() {}
