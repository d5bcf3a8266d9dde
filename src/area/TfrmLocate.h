#pragma once

#include <QDialog>

class QLabel;
class QFrame;
class TFlatButton;
class TFlatComboBox;
class TFlatEdit;

// The locate dialog "定位查询": the search field and the search text. Created for one
// locate and freed afterwards; OK (button or Enter in the edit) ends it with Accepted,
// Cancel or the close box with Rejected.
class TfrmLocate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLocate(QWidget* owner);

    QFrame* FlatPanel1;
    QLabel* Label1;
    QLabel* Label2;
    TFlatComboBox* FlatComboBox1;
    TFlatEdit* FlatEdit1;
    TFlatButton* FlatButton1;
    TFlatButton* FlatButton2;

    void FlatButton1Click();
    void FlatButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void placeOnOwner();
};
