#pragma once

#include "AdminTable.h"
#include "TextEncoding.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace admin {

// What the tool was asked to do:
//   nelvo-admin [--database PATH|URI] <command> [words] [options]
// Options may stand before or after the command; each means one thing for a command.
struct AdminOptions {
    enum class Command { Help, Export, Import, Audit, CarryForward, Init, History, Restore };

    QString database;             // SQLite file or postgresql:// URI
    bool defaultDatabase = false; // database is the shell's default file
    // --operator: who makes the change (an employee code) for a command that changes
    // data; the filter of audit. Empty when not given.
    QString operatorCode;

    Command command = Command::Help;
    bool changesData = false;     // the command writes (an import without --dry-run...)
    bool createsDatabase = false; // the command may name a database that does not exist yet
    AdminTable table = AdminTable::Areas;
    QString file;
    QString kind;          // export --kind
    TextEncoding encoding; // --encoding
    bool dryRun = false;   // import, restore --dry-run
    bool force = false;    // carry-forward, restore --force
    bool strict = false;   // export --strict
    QDate since;           // audit, history --since
    QDate until;           // history --until
    QString areaCode;      // history --area
    QString storageCode;   // history --storage-area
    int limit = 0;         // history --limit (0: every batch)
    QString clerkRole;     // init --clerk-role (empty: the default role)
    qint64 batchId = 0;    // restore BATCH_ID

    // Parses arguments (arguments[0] is the program). False with error for unknown words,
    // missing or empty values, options given twice and options the command does not take.
    static bool parse(const QStringList& arguments, AdminOptions& options, QString& error);
    static QString usage();
    // The demo database the shell opens when given none.
    static QString defaultDatabasePath();
};

} // namespace admin
