#pragma once

#include "platform/Dispatch.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// Stands between the module and a real data server: records the text of every QueryData
// and ExecuteBatch call as received, and can make the next call of one of them fail with a
// given error list instead of reaching the server. Deletes itself on the last release.
class RecordingServer : public platform::DispatchObject {
public:
    struct Call {
        int32_t dispId;
        QString text;
    };

    explicit RecordingServer(platform::DispatchObject* server);

    // The next call of dispId (QueryData or ExecuteBatch) answers false with messages.
    void failNext(int32_t dispId, const QStringList& messages);

    const QList<Call>& calls() const { return m_calls; }
    // Texts of the calls of one id, in order.
    QStringList textsOf(int32_t dispId) const;
    void clearCalls() { m_calls.clear(); }

protected:
    platform::Variant dispatch(int32_t dispId, platform::DispatchArguments& arguments) override;

private:
    platform::DispatchRef<platform::DispatchObject> m_server;
    QList<Call> m_calls;
    QList<QPair<int32_t, QStringList>> m_failures;
};
