#pragma once

#include "platform/ClientDataset.h"
#include "platform/Dispatch.h"
#include "platform/Variant.h"
#include "shared/TsysmsgInfo.h"

#include <QString>

// What the loader of system information works with: the server, the dataset that receives
// its packets, the variant passed by reference to every call, the database type learnt at
// start-up and the unit type it leaves behind. All belong to the server context.
struct SysmsgSession {
    platform::DispatchObject* server;
    platform::ClientDataset& dataSet;
    platform::Variant& callData;
    QString dbType;
    QString& unitType;
};

// Fills info in place with what items selects, asking session.server. Answers true when
// every selected step succeeded; otherwise false with errorText set to the message of the
// first failing step (a fixed message, a parameter's message or a raised error's own text)
// and fields already written keep their new values. Shows nothing.
bool GetSysmsgInfo(SysmsgSession& session, TsysmsgInfo& info, const TsysmsgItems& items,
                   QString& errorText);
