#pragma once

#include "server/DataServer.h"

#include <QDialog>

class OptionalDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TrailBatchModel;
class TrailRowModel;

// The history of the batches written to the database, from the trail its triggers keep:
// each batch with its changed rows (before and after), newest first, filtered by date,
// operator, area or storage area. The whole text of a batch can be opened and copied, and
// one selected batch can be restored (the rows put back as they were before it), behind a
// confirmation; a restore that would overwrite later changes is refused naming each row.
class AuditHistoryDialog : public QDialog {
    Q_OBJECT
public:
    // At most this many batches are listed (the newest).
    static constexpr int BatchLimit = 1000;

    // server must outlive the dialog. Reads the history at once.
    AuditHistoryDialog(server::DataServer* server, QWidget* parent);

    // Reads the history again with the filter as shown; false (the reason shown above the
    // table) when it cannot.
    bool reload();
    // The filter as the controls show it.
    server::TrailFilter filter() const;

    // The batch of the selected row; nullptr when none is selected.
    const server::TrailBatch* selectedBatch() const;
    // Opens the whole text of the selected batch (modal).
    void showSelectedText();
    // Restores the selected batch after a confirmation; true when it was restored.
    bool restoreSelected();

private:
    void showSelectedRows();
    QLineEdit* addCodeFilter(const QString& label, const char* name);

    server::DataServer* m_server;
    OptionalDateEdit* m_since;
    OptionalDateEdit* m_until;
    QList<QLineEdit*> m_codeFilters; // operator, area, storage area
    QLabel* m_status;
    TrailBatchModel* m_batches;
    QTableView* m_batchView;
    QLabel* m_rowsHeading;
    TrailRowModel* m_rows;
    QTableView* m_rowView;
    QPushButton* m_showText;
    QPushButton* m_restore;
};
