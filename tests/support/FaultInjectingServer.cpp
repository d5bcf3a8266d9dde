#include "FaultInjectingServer.h"

#include "platform/DataPacket.h"
#include "platform/Error.h"

namespace testsupport {

using platform::DispatchArguments;
using platform::Variant;

namespace {

platform::DispatchArgument* firstByRef(DispatchArguments& arguments)
{
    for (platform::DispatchArgument& argument : arguments)
        if (argument.isByRef())
            return &argument;
    return nullptr;
}

QString callText(const DispatchArguments& arguments)
{
    for (const platform::DispatchArgument& argument : arguments)
        if (argument.value().isText())
            return argument.value().text();
    return QString();
}

// A block that starts like a packet and then breaks off.
QByteArray garbageBytes()
{
    return QByteArray::fromHex("83 6d 4e 65 6c 76 6f 50 61 63 6b 65 74 2f 31 9f ff 00 de ad");
}

} // namespace

QString injectedErrorText(int callNumber)
{
    return QStringLiteral("注入的服务器故障 #%1").arg(callNumber);
}

FaultInjectingServer::FaultInjectingServer(platform::DispatchObject* server) : m_server(server) {}

void FaultInjectingServer::arm(int callNumber, FaultKind kind)
{
    m_faultAt = callNumber;
    m_kind = kind;
}

bool FaultInjectingServer::faultDelivered() const
{
    for (const Call& call : m_calls)
        if (call.faulted)
            return call.altered;
    return false;
}

Variant FaultInjectingServer::dispatch(int32_t dispId, DispatchArguments& arguments)
{
    Call call{int(m_calls.size()) + 1, dispId, callText(arguments), false, false};
    call.faulted = call.number == m_faultAt;
    const auto record = [this, &call] {
        m_calls.append(call);
        if (m_afterCall)
            m_afterCall(call);
    };
    if (!call.faulted) {
        Variant result = m_server->invoke(dispId, arguments);
        record();
        return result;
    }

    platform::DispatchArgument* byRef = firstByRef(arguments);
    Variant payload;
    switch (m_kind) {
    case FaultKind::Raise:
        call.altered = true;
        record();
        throw platform::Error(injectedErrorText(call.number));
    case FaultKind::ErrorPayload:
        payload = Variant::array(
            {Variant(injectedErrorText(call.number)), Variant(QStringLiteral("第二行"))});
        break;
    case FaultKind::NotAnArray:
        payload = Variant(injectedErrorText(call.number));
        break;
    case FaultKind::NumberAmongTexts:
        payload = Variant::array({Variant(injectedErrorText(call.number)), Variant(int32_t(5))});
        break;
    case FaultKind::MissingColumn:
    case FaultKind::UnreadableValue:
    case FaultKind::NotAPacket: {
        const Variant before = byRef ? byRef->value() : Variant();
        Variant result = m_server->invoke(dispId, arguments);
        // A by-ref argument the server left as it was (a batch on success) carries no answer.
        if (byRef && byRef->value() == before) {
            record();
            return result;
        }
        call.altered = alterAnswer(result, arguments);
        record();
        return result;
    }
    }
    call.altered = true;
    record();
    // A call without a by-ref argument (the database type) gets the payload as its result.
    if (!byRef)
        return payload;
    byRef->setValue(payload);
    return Variant(false);
}

bool FaultInjectingServer::alterAnswer(Variant& result, DispatchArguments& arguments) const
{
    platform::DispatchArgument* byRef = firstByRef(arguments);
    if (m_kind == FaultKind::NotAPacket) {
        if (!byRef) {
            result = Variant(garbageBytes());
            return true;
        }
        if (result.type() == Variant::Type::Bool && !result.boolValue())
            return false; // an error payload is not a packet to spoil
        byRef->setValue(Variant(garbageBytes()));
        return true;
    }
    if (!byRef || !byRef->value().isBytes())
        return false;
    platform::DataTable table = platform::decodePacket(byRef->value().bytes());
    if (table.columns.isEmpty())
        return false;
    if (m_kind == FaultKind::UnreadableValue) {
        // The last row, so that the rows before it have been read when it fails.
        if (table.rows.isEmpty())
            return false;
        table.rows.last().last() = Variant(QByteArray("\xff\x00", 2));
    } else {
        table.columns.removeLast();
        for (QList<Variant>& row : table.rows)
            row.removeLast();
    }
    byRef->setValue(Variant(platform::encodePacket(table)));
    return true;
}

} // namespace testsupport
