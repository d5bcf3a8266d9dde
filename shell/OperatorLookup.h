#pragma once

#include <QString>

namespace server {
class DataServer;
}

// Finds an employee's name through the data server's GetEmployeeName, as the module does.
namespace OperatorLookup {

enum class Outcome { Found, Unknown, Failed };

// Found with name set; Unknown when no employee has code; Failed with error (the
// database's text) when the question could not be answered.
Outcome employeeName(server::DataServer& server, const QString& code, QString& name,
                     QString& error);

} // namespace OperatorLookup
