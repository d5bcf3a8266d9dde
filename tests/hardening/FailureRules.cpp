// The failure rules of the area window: what each failing call must show the user and
// leave in the tree and the lists.
#include "FailureRules.h"

#include "platform/CoorDisp.h"

#include <algorithm>
#include <functional>

using testsupport::FaultInjectingServer;
using testsupport::FaultKind;

CallRole roleOf(const FaultInjectingServer::Call& call, SessionStep step)
{
    namespace Ids = platform::CoorDisp;
    if (call.dispId == Ids::GetDatabaseType)
        return CallRole::DatabaseType;
    if (call.dispId != Ids::QueryData && call.dispId != Ids::ExecuteBatch)
        return CallRole::SystemInformation;
    const QString text = call.text.trimmed();
    if (call.dispId == Ids::ExecuteBatch) {
        switch (step) {
        case SessionStep::AddArea:
            return CallRole::InsertBatch;
        case SessionStep::ModifyB01:
            return CallRole::UpdateBatch;
        case SessionStep::DeleteC01:
            return CallRole::DeleteBatch;
        default:
            return CallRole::TransferBatch;
        }
    }
    if (text.startsWith(QLatin1String("Select * from tbQyda")))
        return CallRole::TreeQuery;
    if (text.startsWith(QLatin1String("Select * from tbCCQyda")))
        return step == SessionStep::Startup ? CallRole::StorageQuery : CallRole::ReloadQuery;
    if (text.startsWith(QLatin1String("select dz.*")))
        return CallRole::MappedQuery;
    if (text.startsWith(QLatin1String("select f_qybm,f_ccqybm,f_qylx")))
        return CallRole::SnapshotQuery;
    if ((step == SessionStep::ModifyB01 || step == SessionStep::DeleteC01) &&
        (text.startsWith(QLatin1String("Select f_qymc from tbqyda")) ||
         text.startsWith(QLatin1String("Select f_qybm from tbqyda"))))
        return CallRole::OutcomeQuery;
    if (text.startsWith(QLatin1String("Select f_qybm from tbqyda")))
        return CallRole::DuplicateQuery;
    return CallRole::UsageQuery;
}

bool answersFalse(FaultKind kind)
{
    return kind == FaultKind::ErrorPayload || kind == FaultKind::NotAnArray ||
           kind == FaultKind::NumberAmongTexts;
}

QString kindName(FaultKind kind)
{
    switch (kind) {
    case FaultKind::ErrorPayload:
        return QStringLiteral("error payload");
    case FaultKind::NotAnArray:
        return QStringLiteral("payload not an array");
    case FaultKind::NumberAmongTexts:
        return QStringLiteral("number in payload");
    case FaultKind::Raise:
        return QStringLiteral("raise");
    case FaultKind::MissingColumn:
        return QStringLiteral("missing column");
    case FaultKind::NotAPacket:
        return QStringLiteral("not a packet");
    case FaultKind::UnreadableValue:
        return QStringLiteral("unreadable value");
    }
    return QString();
}

// Whether one of the new messages is what the user must see for this failure.
bool toldTheUser(const QStringList& messages, CallRole role, FaultKind kind, int callNumber)
{
    const QString injected = testsupport::injectedErrorText(callNumber);
    const auto any = [&messages](const std::function<bool(const QString&)>& test) {
        return std::any_of(messages.begin(), messages.end(), test);
    };
    if (role == CallRole::DatabaseType)
        return messages == QStringList{QStringLiteral("警告|获取数据库类型失败!")};
    if (kind == FaultKind::Raise)
        return any([&](const QString& m) { return m.contains(injected); });
    if (role == CallRole::SystemInformation)
        return any([](const QString& m) { return m.startsWith(QStringLiteral("错误|")); });
    if (role == CallRole::UpdateBatch && answersFalse(kind))
        return messages == QStringList{QStringLiteral("信息|更新区域档案失败！")};
    switch (kind) {
    case FaultKind::ErrorPayload:
        return messages.contains(QStringLiteral("错误|") + injected + QStringLiteral("\r\n第二行"));
    case FaultKind::NotAnArray:
        return messages.contains(QStringLiteral("错误|未知错误！"));
    case FaultKind::NumberAmongTexts:
        return messages.contains(QStringLiteral("错误|") + injected +
                                 QStringLiteral("\r\n未知错误！"));
    case FaultKind::MissingColumn:
        return any([](const QString& m) { return m.contains(QLatin1String("not found")); });
    case FaultKind::UnreadableValue:
        return any([](const QString& m) { return m.contains(QLatin1String("Could not convert")); });
    case FaultKind::NotAPacket:
        return any(
            [](const QString& m) { return m.contains(QLatin1String("Invalid data packet")); });
    case FaultKind::Raise:
        break;
    }
    return false;
}

WindowState expectedAfterFailure(CallRole role, FaultKind kind, const WindowState& before,
                                 const WindowState& success)
{
    WindowState expected = before;
    switch (role) {
    case CallRole::SystemInformation:
        expected = WindowState{};
        break;
    case CallRole::DatabaseType:
        expected = success;
        break;
    case CallRole::TreeQuery:
        expected = WindowState{};
        expected.tree =
            QStringList{QStringLiteral("拣货区域(PICK)"), QStringLiteral("上架补货区域(PUT)"),
                        QStringLiteral("拣货管理区域(MPICK)")};
        expected.current = success.current;
        // A false answer is shown and the start-up goes on; a raised error ends it.
        if (answersFalse(kind))
            expected.storage = success.storage;
        break;
    case CallRole::StorageQuery:
        expected = success;
        expected.storage.clear();
        expected.storageSelected.clear();
        break;
    case CallRole::MappedQuery:
        expected = success;
        expected.mapped.clear();
        expected.mappedSelected.clear();
        break;
    case CallRole::ReloadQuery:
        expected.mapped.clear();
        expected.mappedSelected.clear();
        break;
    default:
        break;
    }
    return expected;
}
