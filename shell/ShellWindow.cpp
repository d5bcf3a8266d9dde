#include "ShellWindow.h"

#include "AuditHistoryDialog.h"
#include "ConnectionDialog.h"
#include "ConnectionSettings.h"
#include "HostNotificationWindow.h"
#include "LoginDialog.h"
#include "ModulePanel.h"
#include "OperatorLookup.h"
#include "PeriodCarryForward.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "platform/Window.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

ShellWindow::ShellWindow(server::DataServer* server, const ModuleLibrary* module,
                         QString operatorCode, QWidget* parent)
    : QMainWindow(parent), m_server(server), m_module(module),
      m_operatorCode(std::move(operatorCode)), m_tabs(new QTabWidget(this)),
      m_status(new QLabel(this)), m_notification(new HostNotificationWindow(this))
{
    setObjectName(QStringLiteral("shellWindow"));
    setWindowTitle(QStringLiteral("仓储业务后台"));
    resize(1180, 720);
    // The area window's lists, its transfer buttons between them and the headers stay
    // usable down to this size.
    setMinimumSize(MinimumWidth, MinimumHeight);

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

    addSystemMenu();
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

    // A permanent widget: menu hints (temporary messages) never take its place.
    m_status->setObjectName(QStringLiteral("connectionStatus"));
    statusBar()->addPermanentWidget(m_status, 1);
    QString error;
    if (OperatorLookup::employeeName(*m_server.get(), m_operatorCode, m_operatorName, error) ==
        OperatorLookup::Outcome::Unknown)
        m_operatorName = QStringLiteral("（未知职员）");
    showStatus();
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
    panel->setSession(m_server, m_operatorCode);
    m_tabs->setTabToolTip(m_tabs->indexOf(panel), statusText());
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

void ShellWindow::addSystemMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("系统(&S)"));
    QAction* connectAction = menu->addAction(QStringLiteral("连接数据库(&D)…"), this, [this] {
        platform::runGuarded(platform::windowHandle(this), [this] { connectDatabase(); });
    });
    connectAction->setObjectName(QStringLiteral("actionConnectDatabase"));
    QAction* login = menu->addAction(QStringLiteral("切换操作员(&O)…"), this, [this] {
        platform::runGuarded(platform::windowHandle(this), [this] { switchOperator(); });
    });
    login->setObjectName(QStringLiteral("actionSwitchOperator"));
}

void ShellWindow::setConnection(DatabaseTarget target, QString sqlTraceFile)
{
    m_target = std::move(target);
    m_sqlTraceFile = std::move(sqlTraceFile);
    showStatus();
}

QString ShellWindow::statusText() const
{
    QString database = m_server->databaseType();
    if (!m_target.database.isEmpty())
        database += QLatin1Char(' ') + m_target.shownName();
    QString operatorText = m_operatorCode;
    if (!m_operatorName.isEmpty())
        operatorText += QLatin1Char(' ') + m_operatorName;
    return QStringLiteral("数据库：%1    操作员：%2").arg(database, operatorText);
}

void ShellWindow::showStatus()
{
    m_status->setText(statusText());
}

void ShellWindow::adoptSession(platform::DispatchRef<server::DataServer> session,
                               QString operatorCode, QString operatorName)
{
    // The history window reads through the session it was opened with.
    delete m_auditHistory;
    m_server = std::move(session);
    m_operatorCode = std::move(operatorCode);
    m_operatorName = std::move(operatorName);
    ConnectionSettings::rememberOperator(m_operatorCode);
    showStatus();
}

bool ShellWindow::connectDatabase()
{
    ConnectionDialog dialog(m_target.shownName(), m_operatorCode, m_sqlTraceFile, this);
    if (platform::execModal(dialog) != QDialog::Accepted)
        return false;
    DatabaseTarget target = dialog.target();
    platform::DispatchRef<server::DataServer> session = dialog.takeSession();
    QString code = m_operatorCode;
    QString name;
    QString error;
    if (OperatorLookup::employeeName(*session.get(), code, name, error) !=
        OperatorLookup::Outcome::Found) {
        // Operators belong to a database: someone known there logs in.
        LoginDialog login(session.get(), code, this);
        if (platform::execModal(login) != QDialog::Accepted)
            return false;
        code = login.operatorCode();
        name = login.operatorName();
        session = openSession(this, target, code, m_sqlTraceFile, error);
        if (!session) {
            if (!error.isEmpty())
                platform::showMessageBox(
                    platform::windowHandle(this), error, QStringLiteral("连接数据库"),
                    platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::Stop);
            return false;
        }
    }
    m_target = std::move(target);
    ConnectionSettings::rememberDatabase(m_target.database);
    adoptSession(std::move(session), code, name);
    return true;
}

bool ShellWindow::switchOperator()
{
    LoginDialog login(m_server.get(), QString(), this);
    if (platform::execModal(login) != QDialog::Accepted)
        return false;
    if (login.operatorCode() == m_operatorCode) {
        m_operatorName = login.operatorName();
        showStatus();
        return true;
    }
    QString error;
    DatabaseTarget target = m_target;
    auto session = openSession(this, target, login.operatorCode(), m_sqlTraceFile, error);
    if (!session) {
        if (!error.isEmpty())
            platform::showMessageBox(platform::windowHandle(this), error,
                                     QStringLiteral("切换操作员"), platform::MessageBoxButtons::Ok,
                                     platform::MessageBoxIcon::Stop);
        return false;
    }
    m_target = std::move(target);
    adoptSession(std::move(session), login.operatorCode(), login.operatorName());
    return true;
}
