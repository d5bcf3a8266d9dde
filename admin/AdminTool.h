#pragma once

#include <QStringList>

namespace admin {

class Console;

// The whole program behind main(): parses the arguments, opens the data server and runs
// one command. Nothing is thrown; the answer is the exit status (ExitStatus.h).
class AdminTool {
public:
    explicit AdminTool(Console& console) : m_console(console) {}

    int run(const QStringList& arguments);

private:
    Console& m_console;
};

} // namespace admin
