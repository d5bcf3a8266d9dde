#pragma once

#include "area/AreaModel.h"
#include "area/StorageAreaLines.h"
#include "area/StorageAreaList.h"
#include "host/TFrmBase.h"
#include "platform/ClientDataset.h"
#include "platform/MessageBox.h"
#include "shared/TsysmsgInfo.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <array>
#include <functional>
#include <memory>

class TNelvoClass;
class TfrmQyda;
class TRopWin;

// The module's working window "区域档案与对照": the area tree by kind, the storage areas
// mapped to the selected area, the transfer buttons and all storage areas.
// Handlers are defined in several files: TfrmArea.cpp (layout, start-up, loading,
// selection, keys), AreaTransfers.cpp (the four transfer buttons), AreaMaintenance.cpp
// (add, modify, delete), AreaLocate.cpp (locate, find-next), AreaHelp.cpp (btnhand).
class TfrmArea : public TFrmBase {
    Q_OBJECT
public:
    // Builds the layout and runs the start-up (FormCreate). Never throws: start-up errors
    // are shown to the user and leave the window in the refused state.
    explicit TfrmArea(QWidget* owner);
    ~TfrmArea() override; // FormDestroy: frees the area dialog and the server context

    // Controls, named as their objectName.
    QToolBar* ToolBar;
    QToolButton* TbnAdd;
    QToolButton* Tbnupdate;
    QToolButton* TbnDelete;
    QToolButton* TbnLocate;
    QToolButton* btnhand;
    QToolButton* TbnExit;
    QFrame* PanelLC;
    QLabel* PanelLT;
    QTreeWidget* TN;
    QSplitter* FlatSplitter1;
    QFrame* PanelL;
    QLabel* Panel1;
    StorageAreaList* listDZ; // sorted ignoring case
    QFrame* PanelC;
    QLabel* PanelCT;
    QPushButton* btnToLeft;
    QPushButton* btnToRight;
    QPushButton* btnAllToLeft;
    QPushButton* tbnAllToRight;
    QFrame* PanelR;
    QFrame* FlatSplitter2;
    QLabel* Panel2;
    StorageAreaList* listccqyda; // in the order the server returned

    TRopWin* RopHelp;          // the shortcut note, owned by the window
    MappedCodeSnapshot cdspub; // mapping snapshot of the last "<" or "<<"

    // The roots of the kinds, in AreaType order (index n is the dialog's kind index n).
    std::array<QTreeWidgetItem*, 3> rootNodes{};

    TNelvoClass* serverContext() const { return m_context.get(); }
    const TsysmsgInfo& sysmsgInfo() const { return *m_sysmsgInfo; }
    TfrmQyda* areaDialog() const; // nullptr until the first add or modify
    // The tree's selected node: its current node when that is selected, else nullptr.
    QTreeWidgetItem* selectedNode() const;
    // In the refused state (start-up failed or the period is not carried forward) shows the
    // refusal's message again and answers true: nothing may be stored then.
    bool showRefusal();

    void LoadAreaTree();
    void LoadStorageAreas();
    void TNChange(QTreeWidgetItem* node);

    // Toolbar and buttons.
    void TbnAddClick();
    void TbnupdateClick();
    void TbnDeleteClick();
    void TbnLocateClick();
    void btnhandClick();
    void TbnExitClick();
    void btnToLeftClick();
    void btnToRightClick();
    void btnAllToLeftClick();
    void tbnAllToRightClick();

    bool AreaInUse(const QString& code, const QString& kindKey);
    void FindArea(bool fromStart);

protected:
    // Key preview: every key pressed in the window or one of its controls reaches
    // FormKeyDown once, before the control; the key is not consumed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildToolBar(QWidget* panelMain);
    QWidget* buildOperationsColumn();
    QWidget* buildStorageColumn();
    void connectHandlers();
    void installKeyPreview();
    void FormCreate();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    TfrmQyda* ensureAreaDialog();

    // Runs a handler body under the window's error guard.
    void guarded(const std::function<void()>& handler);
    // The transfers' guard: the current node is an area (has a parent, no children) under
    // a kind root; gives its kind key and code.
    bool selectedArea(QString& kindKey, QString& areaCode) const;
    // The mapping query of "<" and "<<" into cdspub; false after showing the error list.
    bool loadKindSnapshot(const QString& kindKey);
    // ExecuteBatch of batch; false after showing the error list.
    bool executeTransferBatch(const QString& batch);

    const QEvent* m_previewedKey = nullptr; // the key event FormKeyDown has seen last
    QPointer<QWidget> m_previewedAt;        // the widget it had reached

    std::unique_ptr<TNelvoClass> m_context;
    std::unique_ptr<TsysmsgInfo> m_sysmsgInfo;
    QPointer<QDialog> m_areaDialog; // the TfrmQyda, owned by the window, created on first use

    // The start-up refusal shown, kept to be shown again; empty text while working.
    struct Refusal {
        QString text;
        QString caption;
        platform::MessageBoxIcon icon = platform::MessageBoxIcon::Information;
    } m_refusal;
    void refuse(const Refusal& refusal);
};
