#include "area/TfrmLocate.h"

#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "platform/Fonts.h"
#include "shared/DialogPlacement.h"
#include "shared/TFlatButton.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>

namespace {

const QColor kPanelColor(251, 254, 222); // 14614267
const QColor kGreen(0, 128, 0);
const QSize kOuterSize(308, 163);

} // namespace

TfrmLocate::TfrmLocate(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("TfrmLocate"));
    setWindowTitle(QStringLiteral("定位查询"));
    setFont(platform::songtiFont(12));
    buildLayout();
    resize(kOuterSize);
}

void TfrmLocate::buildLayout()
{
    FlatPanel1 = new QFrame(this);
    FlatPanel1->setObjectName(QStringLiteral("FlatPanel1"));
    FlatPanel1->setFrameShape(QFrame::NoFrame);
    FlatPanel1->setAutoFillBackground(true);
    QPalette panelPalette = FlatPanel1->palette();
    panelPalette.setColor(QPalette::Window, kPanelColor);
    FlatPanel1->setPalette(panelPalette);

    Label1 = new QLabel(QStringLiteral("查询条件："), FlatPanel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(28, 20, 60, 12);
    Label2 = new QLabel(QStringLiteral("查询值："), FlatPanel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(40, 48, 48, 12);

    FlatComboBox1 = new TFlatComboBox(FlatPanel1);
    FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
    FlatComboBox1->setAccessibleName(QStringLiteral("查询条件"));
    FlatComboBox1->setGeometry(97, 16, 153, 20);
    FlatComboBox1->setFaceColor(kPanelColor);
    FlatComboBox1->addItems({QStringLiteral("区域编码"), QStringLiteral("区域名称")});
    FlatComboBox1->setCurrentIndex(0);

    FlatEdit1 = new TFlatEdit(FlatPanel1);
    FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
    FlatEdit1->setAccessibleName(QStringLiteral("查询值"));
    FlatEdit1->setGeometry(97, 48, 153, 18);
    FlatEdit1->setFaceColor(kPanelColor);
    FlatEdit1->setForceUpperCase(true);
    FlatEdit1->installEventFilter(this);

    FlatButton1 = new TFlatButton(QStringLiteral("确定(&O)"), FlatPanel1);
    FlatButton1->setObjectName(QStringLiteral("FlatButton1"));
    FlatButton1->setGeometry(80, 80, 65, 25);
    FlatButton1->setBorderColor(kGreen);
    FlatButton2 = new TFlatButton(QStringLiteral("取消(&C)"), FlatPanel1);
    FlatButton2->setObjectName(QStringLiteral("FlatButton2"));
    FlatButton2->setGeometry(176, 80, 65, 25);
    FlatButton2->setBorderColor(kGreen);
    // Tab stops, so OK and Cancel are reached and pressed without a mouse.
    FlatButton1->setFocusPolicy(Qt::TabFocus);
    FlatButton2->setFocusPolicy(Qt::TabFocus);

    setTabOrder(FlatComboBox1, FlatEdit1);
    setTabOrder(FlatEdit1, FlatButton1);
    setTabOrder(FlatButton1, FlatButton2);

    connect(FlatButton1, &QPushButton::clicked, this, &TfrmLocate::FlatButton1Click);
    connect(FlatButton2, &QPushButton::clicked, this, &TfrmLocate::FlatButton2Click);
}

void TfrmLocate::FlatButton1Click()
{
    accept();
}

void TfrmLocate::FlatButton2Click()
{
    reject();
}

void TfrmLocate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    placeOnOwner();
}

void TfrmLocate::placeOnOwner()
{
    // The outer size includes the frame the window system adds; centre that on the owner.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(kOuterSize - frame);
    CentreOnOwner(*this);
}

void TfrmLocate::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FlatPanel1->setGeometry(rect());
}

void TfrmLocate::keyPressEvent(QKeyEvent* event)
{
    // Escape and Enter have no binding on the dialog itself.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmLocate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FlatEdit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            FlatButton1->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
