#pragma once

#include "DatabaseSession.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QWidget;

// Chooses the database: a SQLite file (an existing one, or a new one that gets the schema)
// or a PostgreSQL server (host, port, database, user; the password is asked only when the
// server wants one). Connect opens a session at once; when that fails the dialog says why
// and stays open, and nothing else changes.
class ConnectionDialog : public QDialog {
    Q_OBJECT
public:
    // current pre-fills the dialog; the session is opened for operatorCode.
    ConnectionDialog(const QString& current, QString operatorCode, QString sqlTraceFile,
                     QWidget* parent);

    // After acceptance: the database and the session opened on it (the caller takes it).
    const DatabaseTarget& target() const { return m_target; }
    platform::DispatchRef<server::DataServer> takeSession() { return std::move(m_session); }

    // Tries to connect; closes only on success.
    void accept() override;

private:
    QWidget* sqliteBox();
    QWidget* postgresBox();
    void showKind();
    void browse();
    // The target the fields describe; false (reason shown) when they do not name one.
    bool targetOfFields(DatabaseTarget& target);

    QString m_operatorCode;
    QString m_sqlTraceFile;
    QRadioButton* m_sqlite;
    QRadioButton* m_postgres;
    QLineEdit* m_file;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QLineEdit* m_database;
    QLineEdit* m_user;
    QWidget* m_sqliteBox;
    QWidget* m_postgresBox;
    DatabaseTarget m_target;
    platform::DispatchRef<server::DataServer> m_session;
};
