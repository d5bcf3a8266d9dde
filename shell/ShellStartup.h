#pragma once

#include "DatabaseSession.h"
#include "ShellOptions.h"

// The shell's start after its command line: opens the database and logs the operator in.
class ShellStartup {
public:
    // --database, else the database remembered from the connection dialog, else the
    // embedded default in the user's data folder (which gets the schema).
    static DatabaseTarget startupTarget(const ShellOptions& options);

    // Opens the start-up database. When it cannot be opened the reason is shown and the
    // connection dialog offered (with --screenshot: no window waits, it just fails); then,
    // without --operator, the login dialog asks who works. False when the shell is to end,
    // with exitStatus set (0 when the clerk cancelled the login).
    bool run(const ShellOptions& options);

    DatabaseTarget target;
    platform::DispatchRef<server::DataServer> session;
    QString operatorCode;
    int exitStatus = 0;

private:
    bool openDatabase(const ShellOptions& options, bool windowless);
    bool logIn(const ShellOptions& options, bool windowless);
};
