#pragma once

#include "AreaSession.h"
#include "support/FaultInjectingServer.h"

#include <QString>
#include <QStringList>

// What a call of the scripted session is for; decides what its failure must leave behind.
enum class CallRole {
    DatabaseType,
    SystemInformation,
    TreeQuery,
    StorageQuery,
    ReloadQuery, // the storage list reloaded by ">>"
    MappedQuery,
    SnapshotQuery,
    TransferBatch,
    DuplicateQuery,
    InsertBatch,
    UpdateBatch,
    UsageQuery,
    DeleteBatch,
    OutcomeQuery, // after a rename or delete: did it change the row
};

CallRole roleOf(const testsupport::FaultInjectingServer::Call& call, SessionStep step);

// The fault answers false (with some payload) rather than raising or spoiling an answer.
bool answersFalse(testsupport::FaultKind kind);
QString kindName(testsupport::FaultKind kind);

// Whether the new messages hold what the user must see when call callNumber, of this role,
// fails in this way: the server's list, the fixed text, or the error's own text.
bool toldTheUser(const QStringList& messages, CallRole role, testsupport::FaultKind kind,
                 int callNumber);

// The window after the failing step: before is the window before the step, success the
// window after the same step without the fault.
WindowState expectedAfterFailure(CallRole role, testsupport::FaultKind kind,
                                 const WindowState& before, const WindowState& success);
