#pragma once

#include "platform/Dispatch.h"
#include "platform/Variant.h"

#include <QList>
#include <QString>
#include <functional>

namespace testsupport {

// The ways one call of the data server can go wrong.
enum class FaultKind {
    ErrorPayload,     // false, by-ref argument replaced by an array of texts
    NotAnArray,       // false, by-ref argument replaced by a single text
    NumberAmongTexts, // false, by-ref argument replaced by an array of a text and a number
    Raise,            // the dispatch call raises
    MissingColumn,    // the real answer, with the last column of its packet dropped
    NotAPacket,       // the real answer, with its by-ref argument replaced by garbage bytes
    UnreadableValue,  // the real answer, with the last value of its packet a byte block
};

// The text of the injected error payload for call number callNumber.
QString injectedErrorText(int callNumber);

// Passes every call through to a real data server except call number faultAt (counted from
// 1 over every invoke), which fails in the armed way. Faults that answer false or raise do
// not reach the real server, so nothing is written by that call. Records every call.
// Create with new; it deletes itself on the last release (use DispatchRef::adopt).
class FaultInjectingServer : public platform::DispatchObject {
public:
    struct Call {
        int number; // 1-based
        int32_t dispId;
        QString text; // the SQL text or batch, when the call has one
        bool faulted; // this call was the armed one
        bool altered; // the armed fault changed what the caller got
    };

    // Takes its own reference on server.
    explicit FaultInjectingServer(platform::DispatchObject* server);

    // Makes call number callNumber fail in the given way; 0 disarms.
    void arm(int callNumber, FaultKind kind);
    int callCount() const noexcept { return int(m_calls.size()); }
    const QList<Call>& calls() const noexcept { return m_calls; }
    // Whether the armed call has happened and its answer differed from the real one.
    bool faultDelivered() const;

    // Runs after every call (passed through or not) with the call's record.
    void setAfterCall(std::function<void(const Call&)> hook) { m_afterCall = std::move(hook); }

protected:
    ~FaultInjectingServer() override = default;
    platform::Variant dispatch(int32_t dispId, platform::DispatchArguments& arguments) override;

private:
    // Applies the armed fault to an answer of the real server; true when it changed it.
    bool alterAnswer(platform::Variant& result, platform::DispatchArguments& arguments) const;

    platform::DispatchRef<platform::DispatchObject> m_server;
    int m_faultAt = 0;
    FaultKind m_kind = FaultKind::ErrorPayload;
    QList<Call> m_calls;
    std::function<void(const Call&)> m_afterCall;
};

} // namespace testsupport
