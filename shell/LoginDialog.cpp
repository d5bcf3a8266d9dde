#include "LoginDialog.h"

#include "OperatorLookup.h"
#include "platform/MessageBox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoginDialog::LoginDialog(server::DataServer* server, const QString& code, QWidget* parent)
    : QDialog(parent), m_server(server), m_edit(new QLineEdit(code, this))
{
    setObjectName(QStringLiteral("loginDialog"));
    setWindowTitle(QStringLiteral("操作员登录"));
    setMinimumWidth(320);

    m_edit->setObjectName(QStringLiteral("loginCode"));
    m_edit->setAccessibleName(QStringLiteral("职员编码"));
    m_edit->setMaxLength(20);
    m_edit->selectAll();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("职员编码(&C)："), m_edit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("登录"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("loginOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void LoginDialog::accept()
{
    const QString code = m_edit->text().trimmed();
    if (code.isEmpty()) {
        refuse(QStringLiteral("请输入职员编码。"));
        return;
    }
    QString name;
    QString error;
    switch (OperatorLookup::employeeName(*m_server, code, name, error)) {
    case OperatorLookup::Outcome::Unknown:
        refuse(QStringLiteral("职员编码 %1 不存在，请重新输入。").arg(code));
        return;
    case OperatorLookup::Outcome::Failed:
        refuse(QStringLiteral("无法查询职员：%1").arg(error));
        return;
    case OperatorLookup::Outcome::Found:
        break;
    }
    m_code = code;
    m_name = name;
    QDialog::accept();
}

void LoginDialog::refuse(const QString& message)
{
    platform::showMessageBox(platform::windowHandle(this), message, QStringLiteral("登录"),
                             platform::MessageBoxButtons::Ok,
                             platform::MessageBoxIcon::Exclamation);
    m_edit->setFocus();
    m_edit->selectAll();
}
