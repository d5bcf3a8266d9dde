#pragma once

#include "platform/Dispatch.h"
#include "platform/Window.h"
#include "server/DataServer.h"

#include <QPointer>
#include <QWidget>

// A shell panel that holds one module window. Every resize of the panel is passed on to
// the module window as WM_USER+2 (wParam height, lParam width).
class ModulePanel : public QWidget {
    Q_OBJECT
public:
    explicit ModulePanel(QWidget* parent);

    // Finds the module window among the panel's direct children (objectName "frmArea",
    // else the first child widget) after the module was opened into the panel, and sends
    // it the panel's size. False when there is none.
    bool adoptModuleWindow();
    QWidget* moduleWindow() const { return m_moduleWindow; }
    // The module window has been closed (hidden or destroyed), or never existed.
    bool isModuleClosed() const;
    // Sends the panel's height and width to the module window.
    void sendSize();

    // The data server session and operator the module window was opened with; the panel
    // keeps them whatever the shell changes later.
    void setSession(platform::DispatchRef<server::DataServer> session, QString operatorCode);
    server::DataServer* session() const { return m_session.get(); }
    const QString& operatorCode() const { return m_operatorCode; }

    static constexpr uint32_t ResizeMessage = platform::WM_USER + 2;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QWidget> m_moduleWindow;
    platform::DispatchRef<server::DataServer> m_session;
    QString m_operatorCode;
};
