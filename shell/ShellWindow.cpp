#include "ShellWindow.h"

#include "AuditHistoryDialog.h"
#include "HostNotificationWindow.h"
#include "ModulePanel.h"
#include "PeriodCarryForward.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "platform/Window.h"

#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

ShellWindow::ShellWindow(server::DataServer* server, const ModuleLibrary* module,
                         QString operatorCode, QWidget* parent)
    : QMainWindow(parent), m_server(server), m_module(module),
      m_operatorCode(std::move(operatorCode)), m_tabs(new QTabWidget(this)),
      m_notification(new HostNotificationWindow(this))
{
    setObjectName(QStringLiteral("shellWindow"));
    setWindowTitle(QStringLiteral("仓储业务后台"));
    resize(1180, 720);

    m_tabs->setObjectName(QStringLiteral("moduleTabs"));
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(true);
    setCentralWidget(m_tabs);
    // Closing a tab destroys its panel and the module window with it (no notification).
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        QWidget* page = m_tabs->widget(index);
        m_tabs->removeTab(index);
        page->deleteLater();
    });
    connect(m_notification, &HostNotificationWindow::moduleWindowClosed, this,
            &ShellWindow::removeClosedPanels);

    QMenu* menu = menuBar()->addMenu(QStringLiteral("业务(&B)"));
    QAction* open = menu->addAction(QStringLiteral("打开区域档案与对照"), this, [this] {
        platform::runGuarded(platform::windowHandle(this), [this] { openModule(); });
    });
    open->setObjectName(QStringLiteral("actionOpenArea"));
    QAction* carry = menu->addAction(QStringLiteral("结转到当前月份"), this, [this] {
        platform::runGuarded(platform::windowHandle(this), [this] { carryForward(); });
    });
    carry->setObjectName(QStringLiteral("actionCarryForward"));
    QAction* history = menu->addAction(QStringLiteral("操作历史…"), this, [this] {
        platform::runGuarded(platform::windowHandle(this), [this] { showAuditHistory(); });
    });
    history->setObjectName(QStringLiteral("actionAuditHistory"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close);

    statusBar()->showMessage(
        QStringLiteral("数据库：%1    操作员：%2").arg(m_server->databaseType(), m_operatorCode));
}

ShellWindow::~ShellWindow() = default;

QByteArray ShellWindow::operatorShortString(const QString& operatorCode)
{
    const QByteArray bytes = platform::encodeGb18030(operatorCode).left(255);
    return char(bytes.size()) + bytes;
}

ModulePanel* ShellWindow::openModule()
{
    auto* panel = new ModulePanel(m_tabs);
    m_tabs->setCurrentIndex(m_tabs->addTab(panel, QStringLiteral("区域档案与对照")));
    const QByteArray operatorCode = operatorShortString(m_operatorCode);
    m_module->entry()(platform::windowHandle(this), m_notification,
                      reinterpret_cast<const unsigned char*>(operatorCode.constData()), panel,
                      m_server.get());
    panel->adoptModuleWindow();
    return panel;
}

bool ShellWindow::carryForward()
{
    return PeriodCarryForward::run(*m_server.get(), platform::windowHandle(this)) ==
           PeriodCarryForward::Outcome::Moved;
}

AuditHistoryDialog* ShellWindow::showAuditHistory()
{
    if (m_auditHistory) {
        m_auditHistory->reload();
    } else {
        m_auditHistory = new AuditHistoryDialog(m_server.get(), this);
        m_auditHistory->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_auditHistory->show();
    m_auditHistory->raise();
    m_auditHistory->activateWindow();
    return m_auditHistory;
}

int ShellWindow::panelCount() const
{
    return m_tabs->count();
}

ModulePanel* ShellWindow::panel(int index) const
{
    return qobject_cast<ModulePanel*>(m_tabs->widget(index));
}

void ShellWindow::removeClosedPanels()
{
    for (int index = m_tabs->count() - 1; index >= 0; --index) {
        ModulePanel* page = panel(index);
        if (page && page->isModuleClosed()) {
            m_tabs->removeTab(index);
            page->deleteLater();
        }
    }
}
