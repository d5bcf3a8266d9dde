#pragma once

#include "AdminTable.h"
#include "TextEncoding.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace admin {

// What the tool was asked to do:
//   nelvo-admin [--database PATH|URI] [--operator CODE] <command> ...
// Options before the command belong to the session; options after it to the command.
struct AdminOptions {
    enum class Command { Help, Export, Import, Audit, CarryForward, Init, History, Restore };

    QString database;                              // SQLite file or postgresql:// URI
    bool defaultDatabase = false;                  // database is the shell's default file
    QString operatorCode = QStringLiteral("0001"); // the shell's default operator

    Command command = Command::Help;
    AdminTable table = AdminTable::Areas;
    QString file;
    QString kind;             // export --kind
    TextEncoding encoding;    // --encoding
    bool dryRun = false;      // import --dry-run
    QDate since;              // audit --since
    QString auditOperator;    // audit --operator
    QStringList commandWords; // init, history, restore: what follows the command, parsed there

    // Parses arguments (arguments[0] is the program). False with error for unknown words,
    // missing values and options the command does not take.
    static bool parse(const QStringList& arguments, AdminOptions& options, QString& error);
    static QString usage();
    // The demo database the shell opens when given none.
    static QString defaultDatabasePath();
};

} // namespace admin
