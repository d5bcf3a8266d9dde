#pragma once

#include <QDate>
#include <QString>

namespace server {

// The demo warehouse: twelve areas of each kind, 84 storage areas, some mappings, every
// system parameter the module's loader knows (unit type "00", a distribution centre), the
// operator "0001" and the open period at the month of today.
class DemoData {
public:
    // A script that empties every table and fills in the demo warehouse; to be run as one
    // transaction. Portable between the backends.
    static QString script(const QDate& today);

    static constexpr const char* OperatorCode = "0001";
    static constexpr const char* OperatorName = "张晓明";
    static constexpr int StorageAreaCount = 84;
    static constexpr int AreasPerKind = 12;
    // Rows of the parameter table (f_Csmc, f_csz), in insertion order.
    static int parameterCount();
};

} // namespace server
