#pragma once

#include "PlatformExport.h"

#include <QString>
#include <exception>
#include <string>

namespace platform {

// An error raised inside the module (a failed conversion, a missing column, a failed
// dispatch call). It travels as a C++ exception up to the event handler's guard, which
// shows message() in a message box.
class PLATFORM_EXPORT Error : public std::exception {
public:
    explicit Error(QString message);
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_message;
    std::string m_utf8;
};

// A failure of the dispatch mechanism itself: unknown id, wrong argument count, callee threw.
class PLATFORM_EXPORT DispatchError : public Error {
public:
    using Error::Error;
};

} // namespace platform
