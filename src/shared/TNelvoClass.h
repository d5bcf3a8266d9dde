#pragma once

#include "platform/ClientDataset.h"
#include "platform/Dispatch.h"
#include "platform/Variant.h"
#include "platform/Window.h"

#include <QString>
#include <memory>

class QListView;
struct TsysmsgInfo;
class TsysmsgItems;

// Server context of a window: learns the database type at construction and loads system
// information (GetSysmsgInfo) through the server's dispatch interface.
class TNelvoClass {
public:
    // Never fails: a failed GetDatabaseType shows the warning box "获取数据库类型失败!"
    // ("警告", OK, exclamation) owned by ownerHandle (0: the application window) and
    // leaves dbType "SQLSERVER". Takes one counted reference on server.
    TNelvoClass(platform::DispatchObject* server, platform::WindowHandle ownerHandle);
    ~TNelvoClass(); // frees the list view, then the dataset, then releases the server
    TNelvoClass(const TNelvoClass&) = delete;
    TNelvoClass& operator=(const TNelvoClass&) = delete;

    // Fills info in place with the selected items; false and errorText set on the first
    // failing step.
    bool GetSysmsgInfo(TsysmsgInfo& info, const TsysmsgItems& items, QString& errorText);

    platform::WindowHandle ownerHandle() const { return m_ownerHandle; }
    const QString& dbType() const { return m_dbType; }
    const QString& unitType() const { return m_unitType; }
    QListView* listView() const { return m_listView.get(); }
    platform::ClientDataset& dataSet() { return *m_dataSet; }

private:
    platform::WindowHandle m_ownerHandle = 0;
    std::unique_ptr<platform::ClientDataset> m_dataSet;
    platform::Variant m_callData;
    platform::DispatchRef<platform::DispatchObject> m_server;
    QString m_dbType;
    QString m_unitType;
    std::unique_ptr<QListView> m_listView;
};
