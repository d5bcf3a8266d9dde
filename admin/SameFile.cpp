#include "SameFile.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace admin {

namespace {

// The path with its folder resolved (links, "..", "."), for a file that may not exist.
QString resolvedPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return resolvedPath(a) == resolvedPath(b);
}

} // namespace

bool isDatabaseFile(const QString& path, const QString& database)
{
    const QString target = QFileInfo(path).isSymLink() ? QFileInfo(path).symLinkTarget() : path;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const QString companion = database + QLatin1String(suffix);
        if (sameFile(path, companion) || sameFile(target, companion))
            return true;
    }
    return false;
}

} // namespace admin
