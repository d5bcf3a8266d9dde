#pragma once

#include <QDate>
#include <QString>

namespace admin {

class Console;
class ServerSession;

struct AuditFilter {
    QDate since;          // entries from this day on; null for all
    QString operatorCode; // entries of this operator; empty for all
};

// Reads the audit trail the data server keeps in tbAudit (f_id, f_time, f_operator,
// f_text), newest first. The table and its query live here only.
class AuditLog {
public:
    AuditLog(ServerSession& session, Console& console) : m_session(session), m_console(console) {}

    // Prints the entries that pass filter. Returns the exit status: ExitUsage when the
    // database has no audit trail or cannot be read.
    int run(const AuditFilter& filter);

    static QString selectText(const AuditFilter& filter);

private:
    // Whether tbAudit exists; false with error set when that cannot be told.
    bool tableExists(bool& exists, QString& error);

    ServerSession& m_session;
    Console& m_console;
};

} // namespace admin
