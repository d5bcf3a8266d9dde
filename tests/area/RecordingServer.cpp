#include "RecordingServer.h"

#include "platform/CoorDisp.h"

using platform::Variant;

RecordingServer::RecordingServer(platform::DispatchObject* server) : m_server(server) {}

void RecordingServer::failNext(int32_t dispId, const QStringList& messages)
{
    m_failures.append({dispId, messages});
}

QStringList RecordingServer::textsOf(int32_t dispId) const
{
    QStringList texts;
    for (const Call& call : m_calls) {
        if (call.dispId == dispId)
            texts.append(call.text);
    }
    return texts;
}

Variant RecordingServer::dispatch(int32_t dispId, platform::DispatchArguments& arguments)
{
    const bool recorded =
        dispId == platform::CoorDisp::QueryData || dispId == platform::CoorDisp::ExecuteBatch;
    if (recorded && !arguments.empty()) {
        m_calls.append({dispId, arguments.front().value().toText()});
        for (qsizetype index = 0; index < m_failures.size(); ++index) {
            if (m_failures[index].first != dispId)
                continue;
            QList<Variant> payload;
            for (const QString& message : m_failures.takeAt(index).second)
                payload.append(Variant(message));
            arguments.back().setValue(Variant::array(payload));
            return Variant(false);
        }
    }
    return m_server->invoke(dispId, arguments);
}
