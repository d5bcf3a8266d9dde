#include "RecordingServer.h"

#include "platform/CoorDisp.h"

#include <QCursor>
#include <QGuiApplication>

using platform::Variant;

RecordingServer::RecordingServer(platform::DispatchObject* server) : m_server(server) {}

void RecordingServer::failNext(int32_t dispId, const QStringList& messages)
{
    QList<Variant> payload;
    for (const QString& message : messages)
        payload.append(Variant(message));
    answerNext(dispId, false, Variant::array(payload));
}

void RecordingServer::answerNext(int32_t dispId, bool result, const Variant& byRef)
{
    m_answers.append({dispId, result, byRef});
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
        const QCursor* cursor = QGuiApplication::overrideCursor();
        m_calls.append({dispId, arguments.front().value().toText(),
                        cursor && cursor->shape() == Qt::WaitCursor});
        for (qsizetype index = 0; index < m_answers.size(); ++index) {
            if (m_answers[index].dispId != dispId)
                continue;
            const Answer answer = m_answers.takeAt(index);
            arguments.back().setValue(answer.byRef);
            return Variant(answer.result);
        }
    }
    return m_server->invoke(dispId, arguments);
}
