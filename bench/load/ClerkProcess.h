#pragma once

#include <QStringList>

// One clerk of the load benchmark, in a process of its own (QApplication constructed):
//   DATABASE OPERATOR SEED SECONDS RESULT-FILE
// Opens an area window on its own connection to DATABASE as OPERATOR, prints "ready",
// waits for a line on standard input, runs its seeded script for SECONDS and writes what
// it did to RESULT-FILE. Returns the exit status (0 also when the window showed failures:
// the benchmark judges them).
int runClerk(const QStringList& arguments);
