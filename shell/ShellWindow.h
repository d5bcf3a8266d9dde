#pragma once

#include "DatabaseSession.h"
#include "ModuleLibrary.h"
#include "platform/Dispatch.h"
#include "server/DataServer.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class AuditHistoryDialog;
class HostNotificationWindow;
class ModulePanel;
class QLabel;
class QTabWidget;

// The stand-in for the back-office shell: a tab per opened module window, a menu action
// that opens one more ("打开区域档案与对照"), one that carries the period forward and one
// that shows the history of committed batches; the menu 系统 connects to another database
// and changes the operator for the panels opened next.
class ShellWindow : public QMainWindow {
    Q_OBJECT
public:
    // Holds its own reference on server; module must stay loaded for the process's life.
    ShellWindow(server::DataServer* server, const ModuleLibrary* module, QString operatorCode,
                QWidget* parent = nullptr);
    ~ShellWindow() override;

    // The database the session runs on, for opening the sessions of other operators and
    // for the status bar; the password stays in memory only.
    void setConnection(DatabaseTarget target, QString sqlTraceFile);
    // The session the next panel is opened with, and its operator.
    server::DataServer* server() const { return m_server.get(); }
    const QString& operatorCode() const { return m_operatorCode; }
    // "数据库：… 操作员：<code> <name>", always visible in the status bar.
    QString statusText() const;

    // The connection dialog; on success the shell works on the chosen database (an
    // operator unknown there logs in again) and remembers it. Panels already open keep
    // their session. False, nothing changed, when cancelled.
    bool connectDatabase();
    // The login dialog; the operator it accepts is the operator of the panels opened
    // next. False, nothing changed, when cancelled or the session cannot be opened.
    bool switchOperator();

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

    static constexpr int MinimumWidth = 800;
    static constexpr int MinimumHeight = 600;

private:
    // Removes the tabs whose module window has closed.
    void removeClosedPanels();
    void addSystemMenu();
    // Makes session the one of the panels opened next.
    void adoptSession(platform::DispatchRef<server::DataServer> session, QString operatorCode,
                      QString operatorName);
    void showStatus();

    platform::DispatchRef<server::DataServer> m_server;
    const ModuleLibrary* m_module;
    QString m_operatorCode;
    QString m_operatorName;
    DatabaseTarget m_target;
    QString m_sqlTraceFile;
    QTabWidget* m_tabs;
    QLabel* m_status;
    HostNotificationWindow* m_notification;
    QPointer<AuditHistoryDialog> m_auditHistory;
};
