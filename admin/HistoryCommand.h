#pragma once

namespace admin {

class Console;
class ServerSession;
struct AdminOptions;

// nelvo-admin history [--since DAY] [--until DAY] [--operator CODE] [--area CODE]
// [--storage-area CODE] [--limit N]: the trail's batches, newest first, each with its rows
// (before → after). Opens the database read-only.
class HistoryCommand {
public:
    static int run(const AdminOptions& options, ServerSession& session, Console& console);
};

} // namespace admin
