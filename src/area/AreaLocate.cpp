// Locate and find-next over the texts of the area tree.
#include "area/AreaModuleState.h"
#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "area/TfrmLocate.h"
#include "platform/MessageBox.h"
#include "shared/MessageDialog.h"

#include <QSignalBlocker>
#include <memory>

namespace {

// The part of a node's text the chosen field searches: the code or the name of an area;
// a kind root has no such parts and is searched on its whole label.
QString searchedText(const QTreeWidgetItem* node, LocateFieldChoice field)
{
    const QString text = node->text(0);
    if (!node->parent())
        return text;
    return field == LocateFieldChoice::Name ? NameOfText(text) : CodeOfText(text);
}

// The nodes in the tree's own order: each top-level node followed by its descendants,
// expanded or not.
void appendInTreeOrder(QTreeWidgetItem* node, QList<QTreeWidgetItem*>& nodes)
{
    nodes.append(node);
    for (int i = 0; i < node->childCount(); ++i)
        appendInTreeOrder(node->child(i), nodes);
}

} // namespace

void TfrmArea::TbnLocateClick()
{
    auto dialog = std::make_unique<TfrmLocate>(this);
    if (platform::execModal(*dialog) != QDialog::Accepted)
        return;
    LocateText = dialog->FlatEdit1->text();
    LocateField = dialog->FlatComboBox1->currentIndex() == 1 ? LocateFieldChoice::Name
                                                             : LocateFieldChoice::Code;
    dialog.reset();
    FindArea(true);
}

void TfrmArea::FindArea(bool fromStart)
{
    if (LocateText.isEmpty())
        return;
    QList<QTreeWidgetItem*> nodes;
    for (int i = 0; i < TN->topLevelItemCount(); ++i)
        appendInTreeOrder(TN->topLevelItem(i), nodes);

    const QTreeWidgetItem* selected = selectedNode();
    bool started = fromStart;
    for (QTreeWidgetItem* node : nodes) {
        if (!started) {
            started = node == selected;
            continue;
        }
        if (!searchedText(node, LocateField).contains(LocateText, Qt::CaseSensitive))
            continue;
        TN->setFocus();
        {
            // The selection handling runs exactly once below, also when the node was
            // already selected.
            const QSignalBlocker blocker(TN);
            TN->setCurrentItem(node);
        }
        TN->scrollToItem(node);
        TNChange(node);
        return;
    }
    ShowMessageDialog(QStringLiteral("找不到该信息！"), MsgKind::Warning, MsgButton::OK);
}
