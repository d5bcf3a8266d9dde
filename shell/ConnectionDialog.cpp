#include "ConnectionDialog.h"

#include "platform/MessageBox.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit* namedEdit(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setAccessibleName(accessibleName);
    return edit;
}

} // namespace

ConnectionDialog::ConnectionDialog(const QString& current, QString operatorCode,
                                   QString sqlTraceFile, QWidget* parent)
    : QDialog(parent), m_operatorCode(std::move(operatorCode)),
      m_sqlTraceFile(std::move(sqlTraceFile)),
      m_sqlite(new QRadioButton(QStringLiteral("SQLite 数据库文件(&S)"), this)),
      m_postgres(new QRadioButton(QStringLiteral("PostgreSQL 数据库服务器(&P)"), this)),
      m_file(namedEdit(QStringLiteral("connectionFile"), QStringLiteral("数据库文件"), this)),
      m_host(namedEdit(QStringLiteral("connectionHost"), QStringLiteral("主机"), this)),
      m_port(namedEdit(QStringLiteral("connectionPort"), QStringLiteral("端口"), this)),
      m_database(namedEdit(QStringLiteral("connectionDatabase"), QStringLiteral("数据库"), this)),
      m_user(namedEdit(QStringLiteral("connectionUser"), QStringLiteral("用户"), this))
{
    setObjectName(QStringLiteral("connectionDialog"));
    setWindowTitle(QStringLiteral("连接数据库"));
    m_sqlite->setObjectName(QStringLiteral("connectionSqlite"));
    m_postgres->setObjectName(QStringLiteral("connectionPostgres"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_sqliteBox = sqliteBox();
    m_postgresBox = postgresBox();

    PostgresTarget postgres;
    if (server::DataServer::isPostgresUri(current) && PostgresTarget::parse(current, postgres)) {
        m_postgres->setChecked(true);
        m_host->setText(postgres.host);
        m_port->setText(postgres.port);
        m_database->setText(postgres.database);
        m_user->setText(postgres.user);
    } else {
        m_sqlite->setChecked(true);
        m_file->setText(current);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("连接"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("connectionConnect"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_sqlite, &QRadioButton::toggled, this, &ConnectionDialog::showKind);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sqlite);
    layout->addWidget(m_sqliteBox);
    layout->addWidget(m_postgres);
    layout->addWidget(m_postgresBox);
    layout->addWidget(buttons);
    showKind();
    resize(520, sizeHint().height());
}

QWidget* ConnectionDialog::sqliteBox()
{
    auto* box = new QWidget(this);
    auto* browse = new QPushButton(QStringLiteral("浏览(&B)…"), box);
    browse->setObjectName(QStringLiteral("connectionBrowse"));
    connect(browse, &QPushButton::clicked, this, &ConnectionDialog::browse);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(20, 0, 0, 0);
    row->addWidget(m_file, 1);
    row->addWidget(browse);
    return box;
}

QWidget* ConnectionDialog::postgresBox()
{
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(20, 0, 0, 0);
    form->addRow(QStringLiteral("主机(&H)："), m_host);
    form->addRow(QStringLiteral("端口(&O)："), m_port);
    form->addRow(QStringLiteral("数据库(&D)："), m_database);
    form->addRow(QStringLiteral("用户(&U)："), m_user);
    auto* hint = new QLabel(QStringLiteral("留空的项按 libpq 的设置：环境变量 PGHOST、PGPORT、"
                                           "PGDATABASE、PGUSER 和 PGSERVICE 指定的服务。"
                                           "密码在服务器要求时询问（~/.pgpass 中有的不再询问），"
                                           "不会保存。"),
                            box);
    hint->setWordWrap(true);
    form->addRow(hint);
    return box;
}

void ConnectionDialog::showKind()
{
    m_sqliteBox->setEnabled(m_sqlite->isChecked());
    m_postgresBox->setEnabled(m_postgres->isChecked());
}

void ConnectionDialog::browse()
{
    QFileDialog chooser(this, QStringLiteral("选择或新建 SQLite 数据库文件"),
                        QFileInfo(m_file->text()).absolutePath());
    chooser.setObjectName(QStringLiteral("connectionFileChooser"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setOption(QFileDialog::DontConfirmOverwrite);
    chooser.setNameFilters(
        {QStringLiteral("SQLite 数据库 (*.sqlite *.db)"), QStringLiteral("所有文件 (*)")});
    if (!m_file->text().isEmpty())
        chooser.selectFile(m_file->text());
    if (platform::execModal(chooser) == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
        m_file->setText(chooser.selectedFiles().first());
}

bool ConnectionDialog::targetOfFields(DatabaseTarget& target)
{
    const platform::WindowHandle owner = platform::windowHandle(this);
    if (m_postgres->isChecked()) {
        PostgresTarget postgres;
        postgres.host = m_host->text().trimmed();
        postgres.port = m_port->text().trimmed();
        postgres.database = m_database->text().trimmed();
        postgres.user = m_user->text().trimmed();
        target.database = postgres.uri();
        return true;
    }
    const QString path = m_file->text().trimmed();
    if (path.isEmpty()) {
        platform::showMessageBox(owner, QStringLiteral("请选择 SQLite 数据库文件。"), windowTitle(),
                                 platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Exclamation);
        return false;
    }
    target.database = QFileInfo(path).absoluteFilePath();
    target.createSchema = !QFileInfo::exists(path);
    if (target.createSchema &&
        platform::showMessageBox(
            owner, QStringLiteral("文件 %1 不存在。要新建一个数据库吗？").arg(target.database),
            windowTitle(), platform::MessageBoxButtons::YesNo,
            platform::MessageBoxIcon::Question) != platform::IDYES)
        return false;
    return true;
}

void ConnectionDialog::accept()
{
    DatabaseTarget target;
    if (!targetOfFields(target))
        return;
    QString error;
    auto session = openSession(this, target, m_operatorCode, m_sqlTraceFile, error);
    if (!session) {
        if (!error.isEmpty())
            platform::showMessageBox(platform::windowHandle(this), error, windowTitle(),
                                     platform::MessageBoxButtons::Ok,
                                     platform::MessageBoxIcon::Stop);
        return;
    }
    m_target = std::move(target);
    m_session = std::move(session);
    QDialog::accept();
}
