#pragma once

#include <QDialog>

class QLineEdit;

namespace server {
class DataServer;
}

// Asks for the operator's employee code and accepts only a code GetEmployeeName knows;
// an unknown code is refused in a message box and may be typed again.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    // server (any session on the database) must outlive the dialog; code is pre-filled.
    LoginDialog(server::DataServer* server, const QString& code, QWidget* parent);

    // The accepted operator.
    QString operatorCode() const { return m_code; }
    QString operatorName() const { return m_name; }

    // Checks the typed code; closes only when it is known.
    void accept() override;

private:
    void refuse(const QString& message);

    server::DataServer* m_server;
    QLineEdit* m_edit;
    QString m_code;
    QString m_name;
};
