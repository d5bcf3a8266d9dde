#pragma once

#include "platform/Dispatch.h"
#include "platform/Variant.h"

#include <QHash>
#include <QList>
#include <QQueue>
#include <QStringList>
#include <optional>

namespace testsupport {

// One scripted reply of the fake server.
struct ScriptedAnswer {
    platform::Variant result;
    std::optional<platform::Variant> byRef; // replaces the call's first by-ref argument
    std::optional<QString> raise;           // throw platform::Error with this text instead

    static ScriptedAnswer value(platform::Variant result) { return {std::move(result), {}, {}}; }
    // true, with the by-ref argument replaced (a packet, a date text, ...).
    static ScriptedAnswer success(platform::Variant byRef) { return {true, std::move(byRef), {}}; }
    // false, with the by-ref argument replaced by an error payload of messages.
    static ScriptedAnswer failure(const QStringList& messages);
    // false, with any by-ref payload (for payloads of the wrong shape).
    static ScriptedAnswer failureWith(platform::Variant payload)
    {
        return {false, std::move(payload), {}};
    }
    static ScriptedAnswer throwing(QString message) { return {{}, {}, std::move(message)}; }
};

// A fake data server for error paths a real database cannot produce on demand. Each
// dispatch id has a queue of answers, taken in order; when it is empty the id's default
// answer is used, and without one the call raises (unknown member). Records every call.
// Create with new; it deletes itself on the last release (use DispatchRef::adopt).
class ScriptedServer : public platform::DispatchObject {
public:
    struct Call {
        int32_t dispId;
        QList<platform::Variant> arguments; // as passed in, before any by-ref replacement
        QList<bool> byRef;
    };

    ScriptedServer() = default;

    void queue(int32_t dispId, ScriptedAnswer answer);
    void setDefault(int32_t dispId, ScriptedAnswer answer);
    int pending(int32_t dispId) const;

    const QList<Call>& calls() const noexcept { return m_calls; }
    // Calls of one id, in order.
    QList<Call> callsOf(int32_t dispId) const;
    void clearCalls() { m_calls.clear(); }

    // Set to true when the object is deleted (so a test can see the last release).
    void setDestroyedFlag(bool* flag) { m_destroyedFlag = flag; }

protected:
    ~ScriptedServer() override;
    platform::Variant dispatch(int32_t dispId, platform::DispatchArguments& arguments) override;

private:
    QHash<int32_t, QQueue<ScriptedAnswer>> m_queues;
    QHash<int32_t, ScriptedAnswer> m_defaults;
    QList<Call> m_calls;
    bool* m_destroyedFlag = nullptr;
};

} // namespace testsupport
