#include "ModulePanel.h"

#include <QResizeEvent>

ModulePanel::ModulePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("modulePanel"));
}

void ModulePanel::setSession(platform::DispatchRef<server::DataServer> session,
                             QString operatorCode)
{
    m_session = std::move(session);
    m_operatorCode = std::move(operatorCode);
}

bool ModulePanel::adoptModuleWindow()
{
    QWidget* window = findChild<QWidget*>(QStringLiteral("frmArea"), Qt::FindDirectChildrenOnly);
    if (!window)
        window = findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    m_moduleWindow = window;
    sendSize();
    return window != nullptr;
}

bool ModulePanel::isModuleClosed() const
{
    return !m_moduleWindow || m_moduleWindow->isHidden();
}

void ModulePanel::sendSize()
{
    if (m_moduleWindow)
        platform::sendMessage(platform::windowHandle(m_moduleWindow), ResizeMessage, height(),
                              width());
}

void ModulePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    sendSize();
}
