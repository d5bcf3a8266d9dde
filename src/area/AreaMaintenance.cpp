// Adding, renaming and deleting areas from the area window's toolbar.
#include "area/AreaModuleState.h"
#include "area/AreaStatements.h"
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
    QTreeWidgetItem* node = selectedNode();
    if (!node || !node->parent())
        return;
    QydaMode = 1;
    TfrmQyda* dialog = ensureAreaDialog();
    // The code goes back to the database exactly as stored, lower-case letters included.
    dialog->edtbm->setStoredText(CodeOfText(node->text(0)));
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
    if (!HostDataService::queryData(AreaStatements::areaMappingsQuery(kindKey, code), data)) {
        ShowServerErrors(owner, data);
        return std::nullopt;
    }
    auto mappings = std::make_unique<platform::ClientDataset>();
    mappings->loadPacket(data);
    return !mappings->isEmpty();
}

// Whether no area has this code any more; nothing when the query failed (the server's
// error list has then been shown).
std::optional<bool> areaIsGone(platform::WindowHandle owner, const QString& code)
{
    platform::Variant data;
    if (!HostDataService::queryData(AreaStatements::areaCodeQuery(code), data)) {
        ShowServerErrors(owner, data);
        return std::nullopt;
    }
    platform::ClientDataset rows;
    rows.loadPacket(data);
    return rows.isEmpty();
}

} // namespace

bool TfrmArea::AreaInUse(const QString& code, const QString& kindKey)
{
    // A failed query counts as in use, so that nothing is deleted on an unknown answer.
    return queryAreaInUse(platform::windowHandle(this), code, kindKey).value_or(true);
}

void TfrmArea::TbnDeleteClick()
{
    QTreeWidgetItem* node = selectedNode();
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

    platform::Variant batch(AreaStatements::deleteAreaStatement(kindKey, code));
    if (!HostDataService::executeBatch(batch)) {
        ShowServerErrors(handle, batch);
        return;
    }
    // A statement that matched no row (a stored kind in lower case) succeeds as well: the
    // node goes only when the row is gone.
    const std::optional<bool> gone = areaIsGone(handle, code);
    if (!gone)
        return;
    if (!*gone) {
        platform::showMessageBox(handle, QStringLiteral("删除区域档案失败！"),
                                 QStringLiteral("提示："), platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Information);
        return;
    }
    // The tree moves its current item to a neighbour and reports the change itself; the
    // new current node is shown selected as well.
    delete node;
    if (QTreeWidgetItem* current = TN->currentItem())
        current->setSelected(true);
}
