#pragma once

#include "PostgresTarget.h"
#include "platform/Dispatch.h"
#include "server/DataServer.h"

#include <QString>

class QWidget;

// Where the shell's data lives and what opening one more session on it needs.
struct DatabaseTarget {
    QString database; // SQLite path or postgresql:// URI
    // The password the clerk typed, kept in memory for the sessions of this run only.
    QString password;
    bool createSchema = false; // the shell's own embedded default, or a new SQLite file

    // The database as messages and the settings name it: never with a password.
    QString shownName() const { return databaseWithoutPassword(database); }
};

// Opens a data server session of operatorCode on target. When the server asks for a
// password that is not at hand (or refuses the one given), a password dialog owned by
// parent asks for it, as often as the clerk answers; the accepted one stays in
// target.password. Answers nullptr with error (the message box text, in Chinese) when
// the database cannot be opened, and with error empty when the clerk cancelled.
platform::DispatchRef<server::DataServer> openSession(QWidget* parent, DatabaseTarget& target,
                                                      const QString& operatorCode,
                                                      const QString& sqlTraceFile, QString& error);
