#pragma once

#include <QDialog>

class QPlainTextEdit;

// The whole text of one batch, read-only, with its size and a button that copies all of
// it, exactly as it was sent, to the clipboard. Long lines are shown broken.
class BatchTextDialog : public QDialog {
    Q_OBJECT
public:
    // caption: what the batch is ("批次 #12  2026-07-01 09:00:00  操作员 0001").
    BatchTextDialog(const QString& caption, const QString& text, QWidget* parent);

    // Puts the whole text on the clipboard.
    void copyAll() const;

private:
    QString m_text;
    QPlainTextEdit* m_view;
};
