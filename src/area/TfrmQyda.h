#pragma once

#include "platform/ClientDataset.h"

#include <QDialog>

class QFrame;
class QLabel;
class TFlatButton;
class TFlatComboBox;
class TFlatEdit;
class TfrmArea;

// The area dialog "区域档案": kind, code and name of one area, in add mode (QydaMode 0) or
// modify mode (1). Created once per area window and kept: closing only hides it, and its
// edits, kind choice and cds keep their contents between showings.
class TfrmQyda : public QDialog {
    Q_OBJECT
public:
    // areaWindow becomes the owner (parent) and is the window whose tree follows the changes.
    explicit TfrmQyda(QWidget* areaWindow);

    QFrame* PanelCC;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TFlatComboBox* cbqylx;
    TFlatEdit* edtbm;
    TFlatEdit* edtmc;
    TFlatButton* btnadd;
    TFlatButton* btncancel;
    platform::ClientDataset cds; // answer of the last duplicate check

    void FormShow();    // caption and enabling by QydaMode
    void btnaddClick(); // validate, store, bring the tree in step
    void btncancelClick();

    // The statements; each shows its own failure to the user before answering false.
    bool InsertArea();
    bool UpdateArea();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    // Key handlers of the edits; true when the key was consumed.
    bool edtbmKeyPress(QKeyEvent* event);
    bool edtbmKeyDown(QKeyEvent* event);
    bool edtmcKeyDown(QKeyEvent* event);
    // The area window whose tree the dialog keeps in step, or nullptr.
    TfrmArea* areaWindow() const;
    QString kindKey() const;
    // Whether the area with this code now has this name; false after showing the server's
    // error list when the query failed.
    bool areaHasName(const QString& code, const QString& name);
};
