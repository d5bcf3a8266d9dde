#pragma once

namespace admin {

class Console;
class ServerSession;
struct AdminOptions;

// nelvo-admin init [--clerk-role NAME]: creates or upgrades the schema as its owner (and on
// PostgreSQL the clerk role with its rights), then reports mappings that name a missing
// area or storage area (kept as they are) instead of failing on them.
class InitCommand {
public:
    static int run(const AdminOptions& options, ServerSession& session, Console& console);
};

} // namespace admin
