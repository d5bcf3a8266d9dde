#pragma once

#include "ModuleLibrary.h"
#include "platform/Dispatch.h"
#include "server/DataServer.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class AuditHistoryDialog;
class HostNotificationWindow;
class ModulePanel;
class QTabWidget;

// The stand-in for the back-office shell: a tab per opened module window, a menu action
// that opens one more ("打开区域档案与对照"), one that carries the period forward and one
// that shows the history of committed batches.
class ShellWindow : public QMainWindow {
    Q_OBJECT
public:
    // Holds its own reference on server; module must stay loaded for the process's life.
    ShellWindow(server::DataServer* server, const ModuleLibrary* module, QString operatorCode,
                QWidget* parent = nullptr);
    ~ShellWindow() override;

    // Opens the module in a new tab (one GetNelvoForm call) and answers its panel.
    ModulePanel* openModule();
    // Moves the open period to the current month after a confirmation; shows the outcome.
    // True when it moved.
    bool carryForward();
    // Shows the (non-modal) history window, reading it again when it is open already.
    AuditHistoryDialog* showAuditHistory();

    int panelCount() const;
    ModulePanel* panel(int index) const;
    HostNotificationWindow* notificationWindow() const { return m_notification; }

    // The operator code as the module takes it: one length byte, then at most 255 bytes.
    static QByteArray operatorShortString(const QString& operatorCode);

private:
    // Removes the tabs whose module window has closed.
    void removeClosedPanels();

    platform::DispatchRef<server::DataServer> m_server;
    const ModuleLibrary* m_module;
    QString m_operatorCode;
    QTabWidget* m_tabs;
    HostNotificationWindow* m_notification;
    QPointer<AuditHistoryDialog> m_auditHistory;
};
