#pragma once

#include "platform/Dispatch.h"
#include "platform/Variant.h"

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
        bool busyCursor; // the wait cursor was showing during the call
    };

    explicit RecordingServer(platform::DispatchObject* server);

    // The next call of dispId (QueryData or ExecuteBatch) answers false with messages.
    void failNext(int32_t dispId, const QStringList& messages);
    // The next call of dispId answers result with byRef in its by-ref argument.
    void answerNext(int32_t dispId, bool result, const platform::Variant& byRef);

    const QList<Call>& calls() const { return m_calls; }
    // Texts of the calls of one id, in order.
    QStringList textsOf(int32_t dispId) const;
    void clearCalls() { m_calls.clear(); }

protected:
    platform::Variant dispatch(int32_t dispId, platform::DispatchArguments& arguments) override;

private:
    platform::DispatchRef<platform::DispatchObject> m_server;
    QList<Call> m_calls;
    struct Answer {
        int32_t dispId;
        bool result;
        platform::Variant byRef;
    };
    QList<Answer> m_answers;
};
