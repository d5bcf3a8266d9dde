#pragma once

namespace admin {

class Console;
class ServerSession;
struct AdminOptions;

// nelvo-admin restore BATCH_ID [--dry-run] [--force]: puts back the rows as they were
// before a batch of the trail, in one transaction that the trail records. Refused (exit 1,
// each changed row named) when a row changed since, unless --force.
class RestoreCommand {
public:
    static int run(const AdminOptions& options, ServerSession& session, Console& console);
};

} // namespace admin
