#include "OperatorLookup.h"

#include "platform/CoorDisp.h"
#include "platform/DataPacket.h"
#include "platform/Error.h"
#include "server/DataServer.h"

namespace OperatorLookup {

Outcome employeeName(server::DataServer& server, const QString& code, QString& name, QString& error)
{
    platform::Variant value(code);
    platform::DispatchArguments arguments{platform::DispatchArgument::byValue(int32_t(1)),
                                          platform::DispatchArgument::byRef(value)};
    try {
        if (!server.invoke(platform::CoorDisp::GetEmployeeName, arguments).toBool()) {
            QStringList messages;
            if (value.isArray())
                for (const platform::Variant& message : value.elements())
                    messages << message.toText();
            error = messages.join(QLatin1Char('\n'));
            return Outcome::Failed;
        }
        const platform::DataTable table = platform::decodePacket(value.bytes());
        if (table.rows.isEmpty() || table.rows.first().isEmpty() ||
            table.rows.first().first().isNull())
            return Outcome::Unknown;
        name = table.rows.first().first().toText();
        return Outcome::Found;
    } catch (const std::exception& failure) {
        error = QString::fromUtf8(failure.what());
        return Outcome::Failed;
    }
}

} // namespace OperatorLookup
