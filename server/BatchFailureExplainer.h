#pragma once

#include <QString>
#include <QStringList>

namespace server {

class Backend;

// What a clerk who lost a race needs to read first. The database's message names only a
// constraint; these put before it one line in the system's language, found with one query
// after the failure, and leave the rest of errors as they were.

// For a failed batch of the area window's statements: the storage area already mapped for
// the kind (and to which area), the area that no longer exists, the area code that exists
// already, or the lost connection. Nothing is added when no cause is found.
void explainBatchFailure(Backend& backend, const QString& batch, QStringList& errors);

// For a failed query: the lost connection, when that is the cause.
void explainQueryFailure(const Backend& backend, QStringList& errors);

} // namespace server
