#pragma once

#include "ServerSession.h"

#include <QString>
#include <memory>

namespace admin {

class Console;
struct AdminOptions;

// Opens the session of a command with the server options it needs (the database and the
// operator from options); on failure tells why on the console and answers nullptr.
std::unique_ptr<ServerSession> openCommandSession(const AdminOptions& options,
                                                  server::DataServerOptions serverOptions,
                                                  Console& console);

// The database as the tool names it in its output: a URI without its password.
QString shownDatabase(const QString& database);

// A row of the trail as one line: "UPDATE tbQyda A01: {before} → {after}".
QString trailRowLine(const server::TrailRow& row);

} // namespace admin
