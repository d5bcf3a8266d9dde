#pragma once

#include <QString>

namespace admin {

// Whether path names the SQLite database file database or one of the files SQLite keeps
// beside it (-wal, -shm, -journal), compared as files: links and other spellings of the
// same file count, and so does a companion that does not exist yet.
bool isDatabaseFile(const QString& path, const QString& database);

} // namespace admin
