#include "area/TfrmQyda.h"

#include "area/AreaModel.h"
#include "area/AreaModuleState.h"
#include "area/AreaStatements.h"
#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "host/HostContext.h"
#include "host/HostDataService.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "shared/DialogPlacement.h"
#include "shared/MessageDialog.h"
#include "shared/TFlatButton.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>

namespace {

const QColor kPanelColor(251, 254, 222); // 14614267
const QColor kGreen(0, 128, 0);

void showInformation(const QString& text)
{
    ShowMessageDialog(text, MsgKind::Information, MsgButton::OK);
}

bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A key that arrives as a character: everything with a text, Backspace included, but not
// the navigation keys Tab and Delete, which produce no character.
bool isCharacterKey(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return !event->text().isEmpty();
    }
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

TfrmQyda::TfrmQyda(QWidget* areaWindow) : QDialog(areaWindow)
{
    setObjectName(QStringLiteral("TfrmQyda"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("区域档案"));
    setFont(platform::songtiFont(12));
    setFixedSize(274, 156);
    buildLayout();
}

void TfrmQyda::buildLayout()
{
    PanelCC = new QFrame(this);
    PanelCC->setObjectName(QStringLiteral("PanelCC"));
    PanelCC->setFrameShape(QFrame::NoFrame);
    PanelCC->setGeometry(0, 0, 274, 156);
    PanelCC->setAutoFillBackground(true);
    QPalette panelPalette = PanelCC->palette();
    panelPalette.setColor(QPalette::Window, kPanelColor);
    PanelCC->setPalette(panelPalette);

    Label1 = makeLabel(PanelCC, "Label1", QStringLiteral("区域类型:"), {15, 16, 54, 12});
    Label2 = makeLabel(PanelCC, "Label2", QStringLiteral("区域编码:"), {15, 46, 54, 12});
    Label3 = makeLabel(PanelCC, "Label3", QStringLiteral("区域名称:"), {15, 75, 54, 12});

    cbqylx = new TFlatComboBox(PanelCC);
    cbqylx->setObjectName(QStringLiteral("cbqylx"));
    cbqylx->setAccessibleName(QStringLiteral("区域类型"));
    cbqylx->setGeometry(84, 12, 159, 20);
    cbqylx->setFaceColor(kPanelColor);
    for (AreaType type : AllAreaTypes)
        cbqylx->addItem(areaTypeRootLabel(type));
    cbqylx->setCurrentIndex(0);

    edtbm = new TFlatEdit(PanelCC);
    edtbm->setObjectName(QStringLiteral("edtbm"));
    edtbm->setAccessibleName(QStringLiteral("区域编码"));
    edtbm->setGeometry(84, 43, 159, 18);
    edtbm->setForceUpperCase(true);
    edtbm->installEventFilter(this);

    edtmc = new TFlatEdit(PanelCC);
    edtmc->setObjectName(QStringLiteral("edtmc"));
    edtmc->setAccessibleName(QStringLiteral("区域名称"));
    edtmc->setGeometry(84, 72, 159, 18);
    edtmc->setMaxLength(AreaNameMaxLength);
    edtmc->installEventFilter(this);

    btnadd = new TFlatButton(QStringLiteral("确定(&O)"), PanelCC);
    btnadd->setObjectName(QStringLiteral("btnadd"));
    btnadd->setGeometry(49, 108, 73, 24);
    btnadd->setBorderColor(kGreen);

    btncancel = new TFlatButton(QStringLiteral("取消(&C)"), PanelCC);
    btncancel->setObjectName(QStringLiteral("btncancel"));
    btncancel->setGeometry(145, 108, 72, 24);
    btncancel->setBorderColor(kGreen);
    // Tab stops, so OK and Cancel are reached and pressed without a mouse.
    btnadd->setFocusPolicy(Qt::TabFocus);
    btncancel->setFocusPolicy(Qt::TabFocus);

    // Tab order: code, name, OK, cancel, kind.
    setTabOrder(edtbm, edtmc);
    setTabOrder(edtmc, btnadd);
    setTabOrder(btnadd, btncancel);
    setTabOrder(btncancel, cbqylx);

    const platform::WindowHandle handle = platform::windowHandle(this);
    connect(btnadd, &QPushButton::clicked, this,
            [this, handle] { platform::runGuarded(handle, [this] { btnaddClick(); }); });
    connect(btncancel, &QPushButton::clicked, this,
            [this, handle] { platform::runGuarded(handle, [this] { btncancelClick(); }); });
}

void TfrmQyda::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnOwner(*this);
    platform::runGuarded(platform::windowHandle(this), [this] { FormShow(); });
}

void TfrmQyda::FormShow()
{
    const bool addMode = QydaMode == 0;
    setWindowTitle(addMode ? QStringLiteral("区域档案增加") : QStringLiteral("区域档案编辑"));
    edtbm->setEnabled(addMode);
    cbqylx->setEnabled(addMode);
    (addMode ? edtbm : edtmc)->setFocus();
}

void TfrmQyda::keyPressEvent(QKeyEvent* event)
{
    // Escape and Enter have no binding on the dialog itself.
    if (event->key() == Qt::Key_Escape || isEnterKey(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmQyda::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    bool consumed = false;
    platform::runGuarded(platform::windowHandle(this), [&] {
        if (watched == edtbm)
            consumed = edtbmKeyDown(key) || edtbmKeyPress(key);
        else if (watched == edtmc)
            consumed = edtmcKeyDown(key);
    });
    return consumed || QDialog::eventFilter(watched, event);
}

bool TfrmQyda::edtbmKeyDown(QKeyEvent* event)
{
    if (!isEnterKey(event))
        return false;
    edtmc->setFocus();
    return true;
}

bool TfrmQyda::edtbmKeyPress(QKeyEvent* event)
{
    return isCharacterKey(event) && edtbm->text().size() >= 10;
}

bool TfrmQyda::edtmcKeyDown(QKeyEvent* event)
{
    if (!isEnterKey(event))
        return false;
    btnaddClick();
    return true;
}

void TfrmQyda::btncancelClick()
{
    hide();
}

void TfrmQyda::btnaddClick()
{
    // A refused window stores nothing: the refusal stops work on a period not carried forward.
    if (TfrmArea* window = areaWindow(); window && window->showRefusal())
        return;
    if (edtbm->text().isEmpty()) {
        showInformation(QStringLiteral("区域编码不能为空！"));
        edtbm->setFocus();
        return;
    }
    if (edtmc->text().isEmpty()) {
        showInformation(QStringLiteral("区域名称不能为空！"));
        edtmc->setFocus();
        return;
    }
    // The code is taken back out of the node text up to its first blank, so a code with a
    // blank inside would later be read as another area's code (and modify or delete it).
    if (QydaMode == 0 && edtbm->text().trimmed().contains(QLatin1Char(' '))) {
        showInformation(QStringLiteral("区域编码不能包含空格！"));
        edtbm->setFocus();
        return;
    }
    const QString nodeText = DisplayText(edtbm->text().trimmed(), edtmc->text().trimmed());
    TfrmArea* window = areaWindow();

    if (QydaMode == 1) {
        if (!UpdateArea())
            return;
        if (QTreeWidgetItem* node = window ? window->selectedNode() : nullptr)
            node->setText(0, nodeText);
        accept();
        return;
    }

    if (!InsertArea())
        return;
    // The area is stored; a window without roots (start-up refused) just shows no node.
    const int index = cbqylx->currentIndex();
    if (window && index >= 0 && index < int(window->rootNodes.size()) && window->rootNodes[index])
        window->rootNodes[index]->addChild(new QTreeWidgetItem(QStringList{nodeText}));
    edtbm->clear();
    edtmc->clear();
    edtbm->setFocus();
}

QString TfrmQyda::kindKey() const
{
    return areaTypeKey(areaTypeFromIndex(cbqylx->currentIndex()).value_or(AreaType::PICK));
}

bool TfrmQyda::InsertArea()
{
    const QString kind = kindKey();
    const QString code = edtbm->text().trimmed();
    const QString name = edtmc->text().trimmed();
    const platform::WindowHandle handle = platform::windowHandle(this);

    platform::Variant data;
    if (!HostDataService::queryData(AreaStatements::areaCodeQuery(code), data)) {
        ShowServerErrors(handle, data);
        return false;
    }
    cds.loadPacket(data);
    if (!cds.isEmpty()) {
        showInformation(QStringLiteral("该区域编码已经存在，请重新输入！"));
        return false;
    }

    platform::Variant batch(AreaStatements::insertAreaStatement(code, name, kind));
    if (!HostDataService::executeBatch(batch)) {
        ShowServerErrors(handle, batch);
        return false;
    }
    return true;
}

bool TfrmQyda::UpdateArea()
{
    const QString code = edtbm->text().trimmed();
    const QString name = edtmc->text().trimmed();
    platform::Variant batch(AreaStatements::updateAreaStatement(name, code, kindKey()));
    if (!HostDataService::executeBatch(batch) || !areaHasName(code, name)) {
        showInformation(QStringLiteral("更新区域档案失败！"));
        return false;
    }
    return true;
}

bool TfrmQyda::areaHasName(const QString& code, const QString& name)
{
    // An update that matched no row (removed meanwhile, a stored kind in lower case) also
    // succeeds: read the row back to learn whether the rename happened.
    platform::Variant data;
    if (!HostDataService::queryData(AreaStatements::areaNameQuery(code), data)) {
        ShowServerErrors(platform::windowHandle(this), data);
        return false;
    }
    platform::ClientDataset rows;
    rows.loadPacket(data);
    if (rows.isEmpty())
        return false;
    const platform::Variant stored = rows.fieldValue(QStringLiteral("f_qymc"));
    return !stored.isNull() && stored.toText() == name;
}

TfrmArea* TfrmQyda::areaWindow() const
{
    // The owning window first: with several area windows open, the one that opened the
    // dialog is the one whose tree holds the selected node.
    if (auto* owner = qobject_cast<TfrmArea*>(parentWidget()))
        return owner;
    return qobject_cast<TfrmArea*>(hostContext().AreaForm.data());
}
