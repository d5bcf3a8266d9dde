#include "ScriptedServer.h"

#include "platform/Error.h"

namespace testsupport {

using platform::Variant;

ScriptedAnswer ScriptedAnswer::failure(const QStringList& messages)
{
    QList<Variant> texts;
    for (const QString& message : messages)
        texts.append(Variant(message));
    return {false, Variant::array(texts), {}};
}

ScriptedServer::~ScriptedServer()
{
    if (m_destroyedFlag)
        *m_destroyedFlag = true;
}

void ScriptedServer::queue(int32_t dispId, ScriptedAnswer answer)
{
    m_queues[dispId].enqueue(std::move(answer));
}

void ScriptedServer::setDefault(int32_t dispId, ScriptedAnswer answer)
{
    m_defaults.insert(dispId, std::move(answer));
}

int ScriptedServer::pending(int32_t dispId) const
{
    return int(m_queues.value(dispId).size());
}

QList<ScriptedServer::Call> ScriptedServer::callsOf(int32_t dispId) const
{
    QList<Call> calls;
    for (const Call& call : m_calls) {
        if (call.dispId == dispId)
            calls.append(call);
    }
    return calls;
}

Variant ScriptedServer::dispatch(int32_t dispId, platform::DispatchArguments& arguments)
{
    Call call{dispId, {}, {}};
    for (const platform::DispatchArgument& argument : arguments) {
        call.arguments.append(argument.value());
        call.byRef.append(argument.isByRef());
    }
    m_calls.append(call);

    ScriptedAnswer answer;
    if (auto queue = m_queues.find(dispId); queue != m_queues.end() && !queue->isEmpty())
        answer = queue->dequeue();
    else if (auto fallback = m_defaults.constFind(dispId); fallback != m_defaults.constEnd())
        answer = fallback.value();
    else
        throw platform::DispatchError(
            QStringLiteral("Unknown name: no scripted answer for dispatch id %1").arg(dispId));

    if (answer.raise)
        throw platform::Error(*answer.raise);
    if (answer.byRef) {
        for (platform::DispatchArgument& argument : arguments) {
            if (argument.isByRef()) {
                argument.setValue(*answer.byRef);
                break;
            }
        }
    }
    return answer.result;
}

} // namespace testsupport
