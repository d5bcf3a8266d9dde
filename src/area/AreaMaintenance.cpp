// Adding, renaming and deleting areas from the area window's toolbar.
#include "area/AreaModuleState.h"
#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "area/TfrmQyda.h"
#include "host/HostDataService.h"
#include "platform/MessageBox.h"

#include <memory>
#include <optional>

TfrmQyda* TfrmArea::areaDialog() const
{
    return qobject_cast<TfrmQyda*>(m_areaDialog.data());
}

TfrmQyda* TfrmArea::ensureAreaDialog()
{
    if (!m_areaDialog)
        m_areaDialog = new TfrmQyda(this);
    return areaDialog();
}

void TfrmArea::TbnAddClick()
{
    QydaMode = 0;
    platform::execModal(*ensureAreaDialog());
}

void TfrmArea::TbnupdateClick()
{
    QTreeWidgetItem* node = TN->currentItem();
    if (!node || !node->parent())
        return;
    QydaMode = 1;
    TfrmQyda* dialog = ensureAreaDialog();
    dialog->edtbm->setText(CodeOfText(node->text(0)));
    dialog->edtmc->setText(NameOfText(node->text(0)));
    if (const auto kind = areaTypeFromRootLabel(node->parent()->text(0)))
        dialog->cbqylx->setCurrentIndex(int(*kind));
    platform::execModal(*dialog);
}

namespace {

// Whether the area has mapping rows of its kind; nothing when the query failed (the
// server's error list has then been shown, owned by owner).
std::optional<bool> queryAreaInUse(platform::WindowHandle owner, const QString& code,
                                   const QString& kindKey)
{
    platform::Variant data;
    if (!HostDataService::queryData(
            QStringLiteral("Select * from tbqydz where f_qylx='") + EscapeSqlLiteral(kindKey) +
                QStringLiteral("' and f_qybm='") + EscapeSqlLiteral(code) + QStringLiteral("'"),
            data)) {
        ShowServerErrors(owner, data);
        return std::nullopt;
    }
    auto mappings = std::make_unique<platform::ClientDataset>();
    mappings->loadPacket(data);
    return !mappings->isEmpty();
}

} // namespace

bool TfrmArea::AreaInUse(const QString& code, const QString& kindKey)
{
    // A failed query counts as in use, so that nothing is deleted on an unknown answer.
    return queryAreaInUse(platform::windowHandle(this), code, kindKey).value_or(true);
}

void TfrmArea::TbnDeleteClick()
{
    QTreeWidgetItem* node = TN->currentItem();
    if (!node || node->childCount() > 0 || !node->parent())
        return;
    const platform::WindowHandle handle = platform::windowHandle(this);
    if (platform::showMessageBox(handle, QStringLiteral("确定要删除此区域档案嘛？"),
                                 QStringLiteral("提示："), platform::MessageBoxButtons::OkCancel,
                                 platform::MessageBoxIcon::Information) != platform::IDOK)
        return;

    const auto kind = areaTypeFromRootLabel(node->parent()->text(0));
    if (!kind)
        return; // not under a kind root: no area of ours
    const QString kindKey = areaTypeKey(*kind);
    const QString code = CodeOfText(node->text(0));

    const std::optional<bool> inUse = queryAreaInUse(handle, code, kindKey);
    if (!inUse)
        return;
    if (*inUse) {
        platform::showMessageBox(handle, QStringLiteral("该区域正在使用，请先移除此区域对照！"),
                                 QStringLiteral("提示："), platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Information);
        return;
    }

    platform::Variant batch(QStringLiteral("Delete from tbqyda where f_qylx='") +
                            EscapeSqlLiteral(kindKey) + QStringLiteral("' and f_qybm='") +
                            EscapeSqlLiteral(code) + QStringLiteral("'"));
    if (!HostDataService::executeBatch(batch)) {
        ShowServerErrors(handle, batch);
        return;
    }
    // The tree moves its current item to a neighbour and reports the change itself; the
    // new current node is shown selected as well.
    delete node;
    if (QTreeWidgetItem* current = TN->currentItem())
        current->setSelected(true);
}
