#include "area/TfrmArea.h"

#include "area/AreaHelp.h"
#include "area/AreaStatements.h"
#include "area/StorageAreaLines.h"
#include "host/HostContext.h"
#include "host/HostDataService.h"
#include "platform/MessageBox.h"
#include "shared/TNelvoClass.h"

#include <QKeyEvent>
#include <QListView>

using platform::Variant;

TfrmArea::TfrmArea(QWidget* owner) : TFrmBase(owner), m_sysmsgInfo(std::make_unique<TsysmsgInfo>())
{
    setObjectName(QStringLiteral("frmArea"));
    setWindowTitle(QStringLiteral("区域档案与对照"));
    buildLayout();
    RopHelp = createAreaShortcutNote(this);
    connectHandlers();
    installKeyPreview();
    guarded([this] { FormCreate(); });
}

TfrmArea::~TfrmArea()
{
    // FormDestroy: the area dialog first, then the server context.
    delete m_areaDialog.data();
    m_context.reset();
}

void TfrmArea::guarded(const std::function<void()>& handler)
{
    platform::runGuarded(platform::windowHandle(this), handler);
}

void TfrmArea::connectHandlers()
{
    const auto on = [this](QAbstractButton* button, void (TfrmArea::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(TbnAdd, &TfrmArea::TbnAddClick);
    on(Tbnupdate, &TfrmArea::TbnupdateClick);
    on(TbnDelete, &TfrmArea::TbnDeleteClick);
    on(TbnLocate, &TfrmArea::TbnLocateClick);
    on(btnhand, &TfrmArea::btnhandClick);
    on(TbnExit, &TfrmArea::TbnExitClick);
    on(btnToLeft, &TfrmArea::btnToLeftClick);
    on(btnToRight, &TfrmArea::btnToRightClick);
    on(btnAllToLeft, &TfrmArea::btnAllToLeftClick);
    on(tbnAllToRight, &TfrmArea::tbnAllToRightClick);
    connect(TN, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { guarded([this, current] { TNChange(current); }); });
    // The selected node is the current node: a Ctrl+click or Ctrl+Space that would leave the
    // current node unselected selects it again, so every action sees what the clerk sees.
    connect(TN, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (QTreeWidgetItem* current = TN->currentItem(); current && !current->isSelected())
            current->setSelected(true);
    });
}

void TfrmArea::FormCreate()
{
    TFrmBase::FormCreate();
    m_context =
        std::make_unique<TNelvoClass>(hostContext().Server.get(), platform::windowHandle(this));
    m_sysmsgInfo->operatorCode = hostContext().OperatorCode;
    QString reason;
    const TsysmsgItems items{TsysmsgItem::curYearMonth, TsysmsgItem::curDateTime,
                             TsysmsgItem::curDate,      TsysmsgItem::operatorName,
                             TsysmsgItem::dybm,         TsysmsgItem::djphmrz,
                             TsysmsgItem::ypphchsclfs,  TsysmsgItem::zbbm};
    if (!m_context->GetSysmsgInfo(*m_sysmsgInfo, items, reason)) {
        refuse({reason, QStringLiteral("错误"), platform::MessageBoxIcon::Stop});
        return;
    }
    if (m_sysmsgInfo->curDate.left(6) != m_sysmsgInfo->curYearMonth) {
        refuse({QStringLiteral("系统尚未结转,请进行结转处理"), QStringLiteral("提示"),
                platform::MessageBoxIcon::Information});
        return;
    }
    LoadAreaTree();
    LoadStorageAreas();
}

void TfrmArea::refuse(const Refusal& refusal)
{
    m_refusal = refusal;
    showRefusal();
}

bool TfrmArea::showRefusal()
{
    if (m_refusal.text.isEmpty())
        return false;
    platform::showMessageBox(platform::windowHandle(this), m_refusal.text, m_refusal.caption,
                             platform::MessageBoxButtons::Ok, m_refusal.icon);
    return true;
}

QTreeWidgetItem* TfrmArea::selectedNode() const
{
    QTreeWidgetItem* current = TN->currentItem();
    return current && current->isSelected() ? current : nullptr;
}

void TfrmArea::LoadAreaTree()
{
    TN->clear();
    rootNodes = {};
    for (AreaType type : AllAreaTypes) {
        auto* root = new QTreeWidgetItem(TN, QStringList{areaTypeRootLabel(type)});
        rootNodes[size_t(type)] = root;
    }
    Variant data;
    if (!HostDataService::queryData(AreaStatements::areaTreeQuery(), data)) {
        ShowServerErrors(platform::windowHandle(this), data);
        return;
    }
    // Read straight from the packet: one text per area, no dataset in between; an area of
    // no known kind is skipped unread.
    QStringList kinds;
    QList<AreaType> types; // of the rows kept, in order
    const QStringList lines = StorageAreaLines::packetDisplayTexts(
        data, QStringLiteral("f_qybm"), QStringLiteral("f_qymc"), QStringLiteral("f_qylx"), &kinds,
        [&types](const QString& kind) {
            const std::optional<AreaType> type = areaTypeFromStoredValue(kind);
            if (type)
                types.append(*type);
            return type.has_value();
        });
    std::array<QList<QTreeWidgetItem*>, 3> children;
    for (qsizetype row = 0; row < lines.size(); ++row)
        children[size_t(types[row])].append(new QTreeWidgetItem(QStringList{lines[row]}));
    for (AreaType type : AllAreaTypes)
        rootNodes[size_t(type)]->addChildren(children[size_t(type)]);
    TN->expandAll();
}

void TfrmArea::LoadStorageAreas()
{
    Variant data;
    if (!HostDataService::queryData(AreaStatements::storageAreasQuery(), data)) {
        ShowServerErrors(platform::windowHandle(this), data);
        return;
    }
    listccqyda->setLines(StorageAreaLines::packetLines(data, QStringLiteral("f_ccqybm"),
                                                       QStringLiteral("f_ccqymc")));
}

void TfrmArea::TNChange(QTreeWidgetItem* node)
{
    if (!node || !node->parent()) {
        listDZ->clear();
        return;
    }
    if (node->childCount() > 0)
        return;
    const std::optional<AreaType> type = areaTypeFromRootLabel(node->parent()->text(0));
    const QString kindKey = type ? areaTypeKey(*type) : QString();
    const QString sql = AreaStatements::mappedStorageAreasQuery(kindKey, CodeOfText(node->text(0)));
    listDZ->clear();
    Variant data;
    if (!HostDataService::queryData(sql, data)) {
        ShowServerErrors(platform::windowHandle(this), data);
        return;
    }
    // Read straight from the packet and sorted once.
    listDZ->setLines(StorageAreaLines::packetLines(data, QStringLiteral("f_ccqybm"),
                                                   QStringLiteral("f_ccqymc")));
}

void TfrmArea::TbnExitClick()
{
    close();
}

namespace {

// Whether widget is the form or one of its controls, not part of a window of its own
// (the shortcut note, a dialog) that merely has the form as its owner.
bool isControlOf(const QWidget* form, const QWidget* widget)
{
    for (; widget && widget != form; widget = widget->parentWidget()) {
        if (widget->isWindow())
            return false;
    }
    return widget == form;
}

} // namespace

void TfrmArea::installKeyPreview()
{
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (isControlOf(this, child))
            child->installEventFilter(this);
    }
}

namespace {

// Ctrl+A, Ctrl+D and Ctrl+F are named in the toolbar's hints but bound to nothing: no
// control of the window may act on them (an item view would select every line on Ctrl+A).
bool isUnboundShortcut(const QKeyEvent* key)
{
    return (key->modifiers() & Qt::ControlModifier) &&
           (key->key() == Qt::Key_A || key->key() == Qt::Key_D || key->key() == Qt::Key_F);
}

} // namespace

bool TfrmArea::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        isControlOf(this, static_cast<QWidget*>(watched)) &&
        isUnboundShortcut(static_cast<const QKeyEvent*>(event))) {
        // Claimed for the control, so no shortcut of the host fires, then dropped below.
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyRelease) {
        m_previewedKey = nullptr;
    } else if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
               isControlOf(this, static_cast<QWidget*>(watched))) {
        auto* widget = static_cast<QWidget*>(watched);
        // An unhandled key travels up the parents as the same event: preview it only at
        // the first widget that receives it.
        const bool propagated =
            event == m_previewedKey && m_previewedAt && widget->isAncestorOf(m_previewedAt);
        m_previewedKey = event;
        m_previewedAt = widget;
        if (!propagated) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            const int code = key->key();
            const Qt::KeyboardModifiers modifiers = key->modifiers();
            guarded([this, code, modifiers] { FormKeyDown(code, modifiers); });
        }
        if (isUnboundShortcut(static_cast<const QKeyEvent*>(event)))
            return true;
    }
    return TFrmBase::eventFilter(watched, event);
}

void TfrmArea::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F3)
        FindArea(false);
    if ((modifiers & Qt::ControlModifier) && key == Qt::Key_L)
        TbnLocate->click();
    if (key == Qt::Key_Escape) {
        QListView* listView = m_context ? m_context->listView() : nullptr;
        if (listView && listView->isVisible())
            listView->hide();
        else
            TbnExit->click();
    }
}
