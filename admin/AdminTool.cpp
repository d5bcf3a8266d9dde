#include "AdminTool.h"

#include "AdminOptions.h"
#include "AuditLog.h"
#include "CarryForward.h"
#include "Console.h"
#include "ExitStatus.h"
#include "Exporter.h"
#include "HistoryCommand.h"
#include "Importer.h"
#include "InitCommand.h"
#include "RestoreCommand.h"
#include "ServerSession.h"
#include "area/AreaModel.h"
#include "platform/ClientDataset.h"
#include "platform/Error.h"

#include <QFileInfo>

namespace admin {

namespace {

int runCommand(const AdminOptions& options, ServerSession& session, Console& console)
{
    switch (options.command) {
    case AdminOptions::Command::Export: {
        const bool postgres = server::DataServer::isPostgresUri(options.database);
        return Exporter(session, console)
            .run({options.table, options.file, options.kind, options.encoding,
                  postgres ? QString() : options.database, options.strict});
    }
    case AdminOptions::Command::Import:
        return Importer(session, console)
            .run({options.table, options.file, options.encoding, options.dryRun});
    case AdminOptions::Command::Audit:
        return AuditLog(session, console).run({options.since, options.operatorCode});
    case AdminOptions::Command::CarryForward:
        return CarryForward(session, console).run(options.force);
    case AdminOptions::Command::Init:
        return InitCommand::run(options, session, console);
    case AdminOptions::Command::History:
        return HistoryCommand::run(options, session, console);
    case AdminOptions::Command::Restore:
        return RestoreCommand::run(options, session, console);
    case AdminOptions::Command::Help:
        break;
    }
    return ExitSuccess;
}

// Whether the operator of a change is an employee (tbZyda); false with a message when not.
bool operatorIsEmployee(const AdminOptions& options, ServerSession& session, Console& console)
{
    platform::ClientDataset rows;
    QString error;
    if (!session.query(QStringLiteral("select f_zybm from tbZyda where f_zybm = '%1'")
                           .arg(EscapeSqlLiteral(options.operatorCode)),
                       rows, error)) {
        console.warn(QStringLiteral("nelvo-admin: cannot read the employees: %1").arg(error));
        return false;
    }
    if (rows.isEmpty()) {
        console.warn(QStringLiteral("nelvo-admin: --operator %1 is no employee of %2 (tbZyda)")
                         .arg(options.operatorCode, session.shownName()));
        return false;
    }
    return true;
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
        // Opening a missing default file would create an empty database in the shell's
        // place, and the shell would then skip its demo data.
        if (options.defaultDatabase && !QFileInfo::exists(options.database)) {
            m_console.warn(QStringLiteral("nelvo-admin: no database at %1; start nelvo-shell "
                                          "once to create it, or give --database")
                               .arg(options.database));
            return ExitUsage;
        }
        // A mistyped path would otherwise be a new, empty database.
        if (!options.createsDatabase && !server::DataServer::isPostgresUri(options.database) &&
            !QFileInfo(options.database).isFile()) {
            m_console.warn(
                QStringLiteral("nelvo-admin: no database file at %1").arg(options.database));
            return ExitUsage;
        }
        using Command = AdminOptions::Command;
        // For audit and history, --operator is a filter, not who works.
        const bool operatorWorks =
            options.command != Command::Audit && options.command != Command::History;
        server::DataServerOptions serverOptions;
        serverOptions.operatorCode = operatorWorks ? options.operatorCode : QString();
        // Export, audit and history only read: they never create, change or convert anything.
        serverOptions.readOnly = options.command == Command::Export ||
                                 options.command == Command::Audit ||
                                 options.command == Command::History;
        serverOptions.createSchema = options.command == Command::Init;
        if (!options.clerkRole.isEmpty())
            serverOptions.clerkRole = options.clerkRole;
        const std::unique_ptr<ServerSession> session =
            ServerSession::open(options.database, serverOptions, error);
        if (!session) {
            m_console.warn(QStringLiteral("nelvo-admin: cannot open %1: %2")
                               .arg(ServerSession::withoutPassword(options.database), error));
            return ExitUsage;
        }
        if (operatorWorks && !options.operatorCode.isEmpty() &&
            !operatorIsEmployee(options, *session, m_console))
            return ExitUsage;
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
