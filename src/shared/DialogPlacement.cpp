#include "shared/DialogPlacement.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// The owner's visible part in global coordinates: an embedded window may be larger than
// the panel that shows it.
QRect visibleGlobalRect(const QWidget& owner)
{
    QRect local = owner.visibleRegion().boundingRect();
    if (local.isEmpty())
        local = owner.rect();
    return QRect(owner.mapToGlobal(local.topLeft()), local.size());
}

} // namespace

void CentreOnOwner(QWidget& dialog)
{
    const QWidget* owner = dialog.parentWidget();
    const QScreen* screen = owner ? owner->screen() : dialog.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area =
        owner ? visibleGlobalRect(*owner) : (screen ? screen->geometry() : QRect(0, 0, 640, 480));
    const QSize frame = dialog.frameGeometry().size();
    QPoint topLeft(area.left() + (area.width() - frame.width()) / 2,
                   area.top() + (area.height() - frame.height()) / 2);
    if (screen) {
        const QRect bounds = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), bounds.left(),
                                std::max(bounds.left(), bounds.right() + 1 - frame.width())));
        topLeft.setY(std::clamp(topLeft.y(), bounds.top(),
                                std::max(bounds.top(), bounds.bottom() + 1 - frame.height())));
    }
    dialog.move(topLeft);
}
