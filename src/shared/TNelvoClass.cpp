#include "shared/TNelvoClass.h"

#include "platform/CoorDisp.h"
#include "platform/Error.h"
#include "platform/MessageBox.h"
#include "shared/SysmsgLoader.h"

#include <QListView>

TNelvoClass::TNelvoClass(platform::DispatchObject* server, platform::WindowHandle ownerHandle)
{
    m_listView = std::make_unique<QListView>();
    m_listView->setVisible(false);
    m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);

    m_server = platform::DispatchRef<platform::DispatchObject>(server);
    m_dataSet = std::make_unique<platform::ClientDataset>();

    m_ownerHandle =
        ownerHandle != 0 ? ownerHandle : platform::ModuleApplication::mainWindowHandle();

    bool learnt = false;
    try {
        if (m_server) {
            m_dbType = m_server->invoke(platform::CoorDisp::GetDatabaseType, {}).toText();
            learnt = true;
        }
    } catch (...) {
        // reported below, like a missing server
    }
    if (!learnt) {
        platform::showMessageBox(m_ownerHandle, QStringLiteral("获取数据库类型失败!"),
                                 QStringLiteral("警告"), platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Exclamation);
        m_dbType = QStringLiteral("SQLSERVER");
    }
}

TNelvoClass::~TNelvoClass()
{
    m_listView.reset();
    m_dataSet.reset();
    m_dbType.clear();
    m_unitType.clear();
    m_callData = platform::Variant();
    m_server.reset();
}

bool TNelvoClass::GetSysmsgInfo(TsysmsgInfo& info, const TsysmsgItems& items, QString& errorText)
{
    SysmsgSession session{m_server.get(), *m_dataSet, m_callData, m_dbType, m_unitType};
    return ::GetSysmsgInfo(session, info, items, errorText);
}
