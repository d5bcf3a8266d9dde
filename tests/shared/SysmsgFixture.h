#pragma once

#include "platform/ClientDataset.h"
#include "platform/CoorDisp.h"
#include "platform/Dispatch.h"
#include "platform/Variant.h"
#include "shared/SysmsgLoader.h"
#include "support/PacketBuilder.h"
#include "support/ScriptedServer.h"

#include <QList>
#include <QPair>
#include <QString>

// A loader session over a scripted server whose parameter packet each test sets up.
class SysmsgFixture {
public:
    using Row = QPair<QString, platform::Variant>; // f_Csmc, f_csz

    SysmsgFixture()
        : server(new testsupport::ScriptedServer),
          serverRef(platform::DispatchRef<platform::DispatchObject>::adopt(server)),
          session{server, dataSet, callData, QStringLiteral("SQLSERVER"), unitType}
    {
    }

    // Every catalogue key, mdzdyjj and dwlx ("00"), each with the value "1", valid for every
    // rule.
    static QList<Row> fullRows();

    // Answers GetSystemParameters with a packet of rows, in order.
    void setParameters(const QList<Row>& rows)
    {
        testsupport::PacketBuilder packet({QStringLiteral("f_Csmc"), QStringLiteral("f_csz")});
        for (const Row& row : rows)
            packet.row({platform::Variant(row.first), row.second});
        server->setDefault(platform::CoorDisp::GetSystemParameters,
                           testsupport::ScriptedAnswer::success(packet.packet()));
    }

    bool load(const TsysmsgItems& items)
    {
        errorText.clear();
        return GetSysmsgInfo(session, info, items, errorText);
    }

    QList<int32_t> callIds() const
    {
        QList<int32_t> ids;
        for (const auto& call : server->calls())
            ids.append(call.dispId);
        return ids;
    }

    testsupport::ScriptedServer* server;
    platform::DispatchRef<platform::DispatchObject> serverRef;
    platform::ClientDataset dataSet;
    platform::Variant callData;
    QString unitType;
    SysmsgSession session;
    TsysmsgInfo info;
    QString errorText;
};

// Replaces the value of the first row named exactly key, or appends the row.
void setRow(QList<SysmsgFixture::Row>& rows, const QString& key, const platform::Variant& value);
// Removes every row named exactly key.
void removeRow(QList<SysmsgFixture::Row>& rows, const QString& key);
