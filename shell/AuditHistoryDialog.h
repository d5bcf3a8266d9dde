#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLabel;
class QTableWidget;

namespace server {
class DataServer;
}

// The read-only history of the batches the data server committed: time, operator and
// text, newest first, from the day chosen in "auditSince" on (its lowest value: all).
class AuditHistoryDialog : public QDialog {
    Q_OBJECT
public:
    // server must outlive the dialog. Reads the history at once.
    AuditHistoryDialog(server::DataServer* server, QWidget* parent);

    // Reads the history again; false (the reason shown above the table) when it cannot.
    bool reload();
    // The first day shown; null for the whole history.
    QDate since() const;
    void setSince(const QDate& day);

    enum Column { TimeColumn, OperatorColumn, TextColumn, ColumnCount };

private:
    server::DataServer* m_server;
    QDateEdit* m_since;
    QTableWidget* m_table;
    QLabel* m_status;
};
