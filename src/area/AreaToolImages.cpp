#include "area/AreaToolImages.h"

#include <QFile>

// The pictures live in a resource of a static library: register it explicitly, since the
// linker drops its unreferenced initialiser.
static void registerToolImages()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(AreaIcons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace AreaToolImages {

QIcon image(int index)
{
    registerToolImages();
    const QString path = QStringLiteral(":/area/tools/%1.png").arg(index, 2, 10, QLatin1Char('0'));
    if (!QFile::exists(path))
        return QIcon();
    return QIcon(path);
}

} // namespace AreaToolImages
