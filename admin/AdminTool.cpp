#include "AdminTool.h"

#include "AdminOptions.h"
#include "AuditLog.h"
#include "Console.h"
#include "ExitStatus.h"
#include "Exporter.h"
#include "HistoryCommand.h"
#include "Importer.h"
#include "InitCommand.h"
#include "RestoreCommand.h"
#include "ServerSession.h"
#include "platform/Error.h"

#include <QFileInfo>

namespace admin {

namespace {

int runCommand(const AdminOptions& options, ServerSession& session, Console& console)
{
    switch (options.command) {
    case AdminOptions::Command::Export:
        return Exporter(session, console)
            .run({options.table, options.file, options.kind, options.encoding});
    case AdminOptions::Command::Import:
        return Importer(session, console)
            .run({options.table, options.file, options.encoding, options.dryRun});
    case AdminOptions::Command::Audit:
        return AuditLog(session, console).run({options.since, options.auditOperator});
    case AdminOptions::Command::CarryForward: {
        QString error;
        if (!session.server()->carryForward(&error)) {
            console.warn(QStringLiteral("carry-forward failed: %1").arg(error));
            return ExitRefused;
        }
        console.print(QStringLiteral("open period is now %1")
                          .arg(session.server()->now().toString(QStringLiteral("yyyyMM"))));
        return ExitSuccess;
    }
    case AdminOptions::Command::Help:
    case AdminOptions::Command::Init:
    case AdminOptions::Command::History:
    case AdminOptions::Command::Restore:
        break;
    }
    return ExitSuccess;
}

} // namespace

int AdminTool::run(const QStringList& arguments)
{
    try {
        AdminOptions options;
        QString error;
        if (!AdminOptions::parse(arguments, options, error)) {
            m_console.warn(QStringLiteral("nelvo-admin: %1").arg(error));
            m_console.warn(AdminOptions::usage());
            return ExitUsage;
        }
        if (options.command == AdminOptions::Command::Help) {
            m_console.print(AdminOptions::usage());
            return ExitSuccess;
        }
        // These open the database their own way (init creates it).
        if (options.command == AdminOptions::Command::Init)
            return InitCommand::run(options, m_console);
        if (options.command == AdminOptions::Command::History)
            return HistoryCommand::run(options, m_console);
        if (options.command == AdminOptions::Command::Restore)
            return RestoreCommand::run(options, m_console);
        // Opening a missing default file would create an empty database in the shell's
        // place, and the shell would then skip its demo data.
        if (options.defaultDatabase && !QFileInfo::exists(options.database)) {
            m_console.warn(QStringLiteral("nelvo-admin: no database at %1; start nelvo-shell "
                                          "once to create it, or give --database")
                               .arg(options.database));
            return ExitUsage;
        }
        // Export and audit only read: they never create, change or convert anything.
        server::DataServerOptions serverOptions;
        serverOptions.operatorCode = options.operatorCode;
        serverOptions.readOnly = options.command == AdminOptions::Command::Export ||
                                 options.command == AdminOptions::Command::Audit;
        const std::unique_ptr<ServerSession> session =
            ServerSession::open(options.database, serverOptions, error);
        if (!session) {
            m_console.warn(
                QStringLiteral("nelvo-admin: cannot open %1: %2").arg(options.database, error));
            return ExitUsage;
        }
        return runCommand(options, *session, m_console);
    } catch (const platform::Error& failure) {
        m_console.warn(QStringLiteral("nelvo-admin: %1").arg(failure.message()));
    } catch (const std::exception& failure) {
        m_console.warn(
            QStringLiteral("nelvo-admin: %1").arg(QString::fromLocal8Bit(failure.what())));
    }
    return ExitUsage;
}

} // namespace admin
