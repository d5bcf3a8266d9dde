#include "AreaSession.h"

#include "SessionFixture.h"

#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "area/TfrmLocate.h"
#include "area/TfrmQyda.h"
#include "shared/TFlatButton.h"

#include <QApplication>
#include <QTest>
#include <QTreeWidgetItemIterator>

namespace {

QStringList lines(const StorageAreaList* list, bool selectedOnly)
{
    QStringList texts;
    const std::vector<int> selected = list->selectedRows();
    for (int row = 0; row < list->count(); ++row)
        if (!selectedOnly || std::binary_search(selected.begin(), selected.end(), row))
            texts << list->lines().line(row).toString();
    return texts;
}

QTreeWidgetItem* node(const TfrmArea* window, const QString& text)
{
    for (QTreeWidgetItemIterator it(window->TN); *it; ++it)
        if ((*it)->text(0) == text)
            return *it;
    return nullptr;
}

// Shows the dialog as the modal loop would, fills and confirms it, and notes how it is left.
SessionFixture::DialogDriver areaDialogDriver(int kindIndex, const QString& code,
                                              const QString& name, DialogOutcome& outcome)
{
    return [=, &outcome](QDialog& dialog) {
        auto* area = qobject_cast<TfrmQyda*>(&dialog);
        if (!area)
            return int(QDialog::Rejected);
        area->setResult(0);
        area->show();
        if (area->cbqylx->isEnabled())
            area->cbqylx->setCurrentIndex(kindIndex);
        if (area->edtbm->isEnabled())
            area->edtbm->setText(code);
        area->edtmc->setText(name);
        area->btnadd->click();
        outcome = {true, area->isVisible(), area->edtbm->text(), area->edtmc->text()};
        area->hide();
        return area->result();
    };
}

SessionFixture::DialogDriver locateDriver(const QString& text)
{
    return [text](QDialog& dialog) {
        auto* locate = qobject_cast<TfrmLocate*>(&dialog);
        if (!locate)
            return int(QDialog::Rejected);
        locate->setResult(0);
        locate->show();
        locate->FlatEdit1->setText(text);
        locate->FlatButton1->click();
        locate->hide();
        return locate->result();
    };
}

} // namespace

void selectOnly(StorageAreaList* list, const QString& text)
{
    std::vector<int> rows;
    for (int row = 0; row < list->count(); ++row)
        if (list->lines().line(row) == text)
            rows.push_back(row);
    list->selectRows(rows);
}

bool select(TfrmArea* window, const QString& text)
{
    QTreeWidgetItem* item = node(window, text);
    if (item)
        window->TN->setCurrentItem(item);
    return item != nullptr;
}

void addArea(SessionFixture& fixture, int kindIndex, const QString& code, const QString& name,
             DialogOutcome& outcome)
{
    fixture.setDialogDriver(areaDialogDriver(kindIndex, code, name, outcome));
    fixture.window()->TbnAdd->click();
    fixture.setDialogDriver({});
}

void renameSelectedArea(SessionFixture& fixture, const QString& name, DialogOutcome& outcome)
{
    fixture.setDialogDriver(areaDialogDriver(0, QString(), name, outcome));
    fixture.window()->Tbnupdate->click();
    fixture.setDialogDriver({});
}

void locate(SessionFixture& fixture, const QString& text)
{
    fixture.setDialogDriver(locateDriver(text));
    fixture.window()->TbnLocate->click();
    fixture.setDialogDriver({});
}

WindowState captureState(const TfrmArea* window)
{
    WindowState state;
    if (!window)
        return state;
    for (int i = 0; i < window->TN->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* root = window->TN->topLevelItem(i);
        state.tree << root->text(0);
        for (int c = 0; c < root->childCount(); ++c)
            state.tree << QStringLiteral("  ") + root->child(c)->text(0);
    }
    if (const QTreeWidgetItem* current = window->TN->currentItem())
        state.current = current->text(0);
    state.mapped = lines(window->listDZ, false);
    state.mappedSelected = lines(window->listDZ, true);
    state.storage = lines(window->listccqyda, false);
    state.storageSelected = lines(window->listccqyda, true);
    return state;
}

QString describe(const WindowState& state)
{
    return QStringLiteral("tree [%1] current [%2] mapped [%3] sel [%4] storage [%5] sel [%6]")
        .arg(state.tree.join(QLatin1Char(',')), state.current, state.mapped.join(QLatin1Char(',')),
             state.mappedSelected.join(QLatin1Char(',')), state.storage.join(QLatin1Char(',')),
             state.storageSelected.join(QLatin1Char(',')));
}

QString stepName(SessionStep step)
{
    static const char* const names[] = {
        "startup",    "select A01", "<",          ">",      "<<",     ">>", "add",
        "select B01", "modify",     "select C01", "delete", "locate", "F3"};
    return QString::fromLatin1(names[int(step)]);
}

void prepareStep(SessionFixture& fixture, SessionStep step)
{
    if (step == SessionStep::MapSelected)
        selectOnly(fixture.window()->listccqyda, QStringLiteral("S03 存储三"));
    if (step == SessionStep::UnmapSelected)
        selectOnly(fixture.window()->listDZ, QStringLiteral("S01 存储一"));
}

void runStep(SessionFixture& fixture, SessionStep step, DialogOutcome& outcome)
{
    if (step == SessionStep::Startup) {
        fixture.startWindow();
        return;
    }
    TfrmArea* window = fixture.window();
    switch (step) {
    case SessionStep::Startup:
        break;
    case SessionStep::SelectA01:
        select(window, QStringLiteral("A01 一号拣货区"));
        break;
    case SessionStep::MapSelected:
        window->btnToLeft->click();
        break;
    case SessionStep::UnmapSelected:
        window->btnToRight->click();
        break;
    case SessionStep::MapAll:
        window->btnAllToLeft->click();
        break;
    case SessionStep::UnmapAll:
        window->tbnAllToRight->click();
        break;
    case SessionStep::AddArea:
        addArea(fixture, 1, QStringLiteral("C01"), QStringLiteral("新区"), outcome);
        break;
    case SessionStep::SelectB01:
        select(window, QStringLiteral("B01 A01备用"));
        break;
    case SessionStep::ModifyB01:
        renameSelectedArea(fixture, QStringLiteral("改名"), outcome);
        break;
    case SessionStep::SelectC01:
        select(window, QStringLiteral("C01 新区"));
        break;
    case SessionStep::DeleteC01:
        window->TbnDelete->click();
        break;
    case SessionStep::Locate:
        locate(fixture, QStringLiteral("M01"));
        break;
    case SessionStep::FindNext:
        QTest::keyClick(window->TN, Qt::Key_F3);
        break;
    }
    fixture.setDialogDriver({});
}
