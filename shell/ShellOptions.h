#pragma once

#include <QString>
#include <QStringList>

// What the shell was asked to do on its command line.
struct ShellOptions {
    QString database;             // SQLite file path or postgresql:// URI
    bool defaultDatabase = false; // no --database: database is the default demo file
    QString operatorCode;         // empty: the operator logs in
    QString modulePath;
    bool demo = false; // (re)create the demo data
    QString sqlTrace;
    bool open = false;  // open the module once at start
    QString screenshot; // grab the window into this file, then quit
    bool help = false;  // --help was given (parse then fails with the usage text)

    // Parses arguments (arguments[0] is the program). False with error (a usage text
    // included) for unknown options or missing values.
    static bool parse(const QStringList& arguments, ShellOptions& options, QString& error);

    // The demo warehouse's operator, taken by --screenshot when no --operator is given.
    static constexpr const char* DemoOperator = "0001";

    // Installed: <folder of the executable>/../lib/<multiarch>/nelvo/libnelvo_area.so;
    // in the build folder: <folder of the executable>/../lib/libnelvo_area.so.
    static QString defaultModulePath(const QString& applicationDirectory);
    // The demo database in the user's data folder.
    static QString defaultDatabasePath();
};
