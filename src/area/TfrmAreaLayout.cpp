// The area window's controls and their design values.
#include "area/AreaToolImages.h"
#include "area/CutTextToolTipDelegate.h"
#include "area/FixedItemHeightDelegate.h"
#include "area/TfrmArea.h"
#include "platform/Fonts.h"
#include "shared/TFlatButton.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QColor HeaderGreen(0, 128, 0);
const QColor ListBackground(251, 254, 222); // 14614267
constexpr int ListItemHeight = 12;
// Captions in black on the button face: white on that light face could not be read.
const QColor ToolCaptionColor(0, 0, 0);

QLabel* createHeader(const QString& name, const QString& text, int height, QWidget* parent)
{
    auto* header = new QLabel(text, parent);
    header->setObjectName(name);
    header->setFixedHeight(height);
    header->setAlignment(Qt::AlignCenter);
    header->setFont(platform::songtiFont(12));
    header->setAutoFillBackground(true);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, HeaderGreen);
    palette.setColor(QPalette::WindowText, Qt::white);
    header->setPalette(palette);
    return header;
}

void setListBackground(QWidget* view)
{
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, ListBackground);
    palette.setColor(QPalette::Window, ListBackground);
    view->setPalette(palette);
}

StorageAreaList* createList(const QString& name, const QString& accessibleName,
                            StorageAreaListModel::Order order, QWidget* parent)
{
    auto* list = new StorageAreaList(order, parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setFrameShape(QFrame::NoFrame);
    list->setItemDelegate(new FixedItemHeightDelegate(ListItemHeight, list));
    setListBackground(list);
    return list;
}

QFrame* createColumn(const QString& name, QWidget* parent)
{
    auto* column = new QFrame(parent);
    column->setObjectName(name);
    column->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return column;
}

QToolButton* addToolButton(QToolBar* toolBar, const QString& name, const QString& caption,
                           const QString& hint, int imageIndex)
{
    auto* button = new QToolButton(toolBar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(AreaToolImages::image(imageIndex));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFixedSize(43, 35);
    button->setFont(platform::songtiFont(12));
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, ToolCaptionColor);
    button->setPalette(palette);
    toolBar->addWidget(button);
    return button;
}

TFlatButton* addFlatButton(QWidget* column, const QString& name, const QString& caption, int top)
{
    auto* button = new TFlatButton(caption, column);
    button->setObjectName(name);
    QFont font = platform::songtiFont(12);
    font.setBold(true);
    button->setFont(font);
    button->setBorderColor(HeaderGreen);
    button->setGeometry(4, top, 22, 23);
    button->setFocusPolicy(Qt::TabFocus); // the transfers work without a mouse
    return button;
}

} // namespace

void TfrmArea::buildLayout()
{
    PanelMain->resize(825, 609);
    auto* mainLayout = new QVBoxLayout(PanelMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    buildToolBar(PanelMain);
    mainLayout->addWidget(ToolBar);

    FlatSplitter1 = new QSplitter(Qt::Horizontal, PanelMain);
    FlatSplitter1->setObjectName(QStringLiteral("FlatSplitter1"));
    FlatSplitter1->setHandleWidth(1);
    FlatSplitter1->setChildrenCollapsible(false);
    FlatSplitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background: rgb(0,128,0); }"));
    mainLayout->addWidget(FlatSplitter1, 1);

    PanelLC = createColumn(QStringLiteral("PanelLC"), FlatSplitter1);
    PanelLT =
        createHeader(QStringLiteral("PanelLT"), QStringLiteral("区域编码与名称"), 16, PanelLC);
    TN = new QTreeWidget(PanelLC);
    TN->setObjectName(QStringLiteral("TN"));
    TN->setAccessibleName(PanelLT->text());
    TN->setHeaderHidden(true);
    TN->setColumnCount(1);
    TN->setIndentation(19);
    // Every row is one line in one font: the view measures one row instead of each one.
    TN->setUniformRowHeights(true);
    TN->setFrameShape(QFrame::NoFrame);
    TN->setItemDelegate(new CutTextToolTipDelegate(TN));
    setListBackground(TN);
    PanelLC->layout()->addWidget(PanelLT);
    PanelLC->layout()->addWidget(TN);

    auto* body = new QWidget(FlatSplitter1);
    body->setObjectName(QStringLiteral("PanelBody"));
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->setSpacing(0);

    PanelL = createColumn(QStringLiteral("PanelL"), body);
    PanelL->setFixedWidth(241);
    Panel1 = createHeader(QStringLiteral("Panel1"), QStringLiteral("对应内容"), 16, PanelL);
    listDZ = createList(QStringLiteral("listDZ"), Panel1->text(),
                        StorageAreaListModel::Order::IgnoringCase, PanelL);
    PanelL->layout()->addWidget(Panel1);
    PanelL->layout()->addWidget(listDZ);
    bodyLayout->addWidget(PanelL);
    bodyLayout->addWidget(buildOperationsColumn());
    bodyLayout->addWidget(buildStorageColumn(), 1);

    FlatSplitter1->addWidget(PanelLC);
    FlatSplitter1->addWidget(body);
    FlatSplitter1->setStretchFactor(0, 0);
    FlatSplitter1->setStretchFactor(1, 1);
    FlatSplitter1->setSizes({225, 825 - 225 - 1});

    // Tab goes tree, mapped list, the four transfer buttons, storage list.
    setTabOrder(TN, listDZ);
    setTabOrder(listDZ, btnToLeft);
    setTabOrder(btnToLeft, btnToRight);
    setTabOrder(btnToRight, btnAllToLeft);
    setTabOrder(btnAllToLeft, tbnAllToRight);
    setTabOrder(tbnAllToRight, listccqyda);
}

void TfrmArea::buildToolBar(QWidget* panelMain)
{
    ToolBar = new QToolBar(panelMain);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setFixedHeight(35);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolBar->setContentsMargins(0, 0, 0, 0);
    // A bar without frame, padding or spacing and flat buttons without padding, so a 16-pixel
    // picture and a 12-pixel caption fit whole in 35.
    ToolBar->setStyleSheet(
        QStringLiteral(
            "QToolBar { border: 0px; padding: 0px; spacing: 0px; }"
            "QToolButton { color: %1; padding: 0px; margin: 0px; border: 1px solid transparent; }"
            "QToolButton:hover { border-color: rgb(160, 160, 160); }"
            "QToolButton:pressed { background: rgb(208, 208, 208); }")
            .arg(ToolCaptionColor.name()));
    TbnAdd = addToolButton(ToolBar, QStringLiteral("TbnAdd"), QStringLiteral("增  加"),
                           QStringLiteral("增加一条记录 Ctrl+A"), 4);
    Tbnupdate = addToolButton(ToolBar, QStringLiteral("Tbnupdate"), QStringLiteral("修  改"),
                              QString(), 17);
    TbnDelete = addToolButton(ToolBar, QStringLiteral("TbnDelete"), QStringLiteral("删  除"),
                              QStringLiteral("删除该条记录 Ctrl+D"), 5);
    auto* separator = new QWidget(ToolBar);
    separator->setObjectName(QStringLiteral("TbnSp4"));
    separator->setFixedWidth(8);
    ToolBar->addWidget(separator);
    TbnLocate = addToolButton(ToolBar, QStringLiteral("TbnLocate"), QStringLiteral("定  位"),
                              QStringLiteral("查找 Ctrl+F"), 16);
    btnhand =
        addToolButton(ToolBar, QStringLiteral("btnhand"), QStringLiteral("助  手"), QString(), 15);
    TbnExit = addToolButton(ToolBar, QStringLiteral("TbnExit"), QStringLiteral("退  出"),
                            QStringLiteral("退出 Esc"), 10);
}

QWidget* TfrmArea::buildOperationsColumn()
{
    PanelC = new QFrame(PanelL->parentWidget());
    PanelC->setObjectName(QStringLiteral("PanelC"));
    PanelC->setFixedWidth(31);
    PanelC->setFrameShape(QFrame::Box);
    PanelC->setFrameShadow(QFrame::Plain);
    PanelC->setLineWidth(1);
    PanelC->setAutoFillBackground(true);
    QPalette palette = PanelC->palette();
    palette.setColor(QPalette::Window, ListBackground);
    palette.setColor(QPalette::WindowText, HeaderGreen);
    PanelC->setPalette(palette);
    PanelCT = createHeader(QStringLiteral("PanelCT"), QStringLiteral("操作"), 15, PanelC);
    PanelCT->setGeometry(1, 1, 29, 15);
    btnToLeft = addFlatButton(PanelC, QStringLiteral("btnToLeft"), QStringLiteral("<"), 139);
    btnToRight = addFlatButton(PanelC, QStringLiteral("btnToRight"), QStringLiteral(">"), 201);
    btnAllToLeft = addFlatButton(PanelC, QStringLiteral("btnAllToLeft"), QStringLiteral("<<"), 259);
    tbnAllToRight =
        addFlatButton(PanelC, QStringLiteral("tbnAllToRight"), QStringLiteral(">>"), 328);
    return PanelC;
}

QWidget* TfrmArea::buildStorageColumn()
{
    PanelR = createColumn(QStringLiteral("PanelR"), PanelL->parentWidget());
    FlatSplitter2 = new QFrame(PanelR);
    FlatSplitter2->setObjectName(QStringLiteral("FlatSplitter2"));
    FlatSplitter2->setFixedHeight(1);
    FlatSplitter2->setAutoFillBackground(true);
    QPalette palette = FlatSplitter2->palette();
    palette.setColor(QPalette::Window, HeaderGreen);
    FlatSplitter2->setPalette(palette);
    Panel2 =
        createHeader(QStringLiteral("Panel2"), QStringLiteral("存储区域编码和名称"), 16, PanelR);
    listccqyda = createList(QStringLiteral("listccqyda"), Panel2->text(),
                            StorageAreaListModel::Order::AsGiven, PanelR);
    PanelR->layout()->addWidget(FlatSplitter2);
    PanelR->layout()->addWidget(Panel2);
    PanelR->layout()->addWidget(listccqyda);
    return PanelR;
}
