#include "ClerkScript.h"

#include "AreaSession.h"
#include "SessionFixture.h"

#include "area/TfrmArea.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QTreeWidget>
#include <array>
#include <functional>

namespace {

// Area codes that every clerk adds from, so that clerks collide on them.
constexpr int SharedCodeCount = 40;
// At most this many lines for "<" and ">".
constexpr int MostLinesPerTransfer = 6;

template <typename Widget> Widget* control(const TfrmArea* window, const char* name)
{
    return window->findChild<Widget*>(QLatin1String(name));
}

QStringList viewLines(const QAbstractItemView* view)
{
    QStringList lines;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->index(row, 0).data().toString();
    return lines;
}

// Selects the rows with these indexes, and no other, through the view's selection model.
void selectRows(QAbstractItemView* view, const QList<int>& rows)
{
    QItemSelection selection;
    for (int row : rows) {
        const QModelIndex index = view->model()->index(row, 0);
        selection.select(index, index);
    }
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

// The texts of the area nodes (the children of the kind roots).
QStringList areaNodes(const TfrmArea* window)
{
    QStringList nodes;
    const auto* tree = control<QTreeWidget>(window, "TN");
    for (int root = 0; root < tree->topLevelItemCount(); ++root)
        for (int child = 0; child < tree->topLevelItem(root)->childCount(); ++child)
            nodes << tree->topLevelItem(root)->child(child)->text(0);
    return nodes;
}

bool containsAny(const QString& text, std::initializer_list<const char*> needles)
{
    for (const char* needle : needles)
        if (text.contains(QString::fromUtf8(needle)))
            return true;
    return false;
}

} // namespace

ClerkScript::ClerkScript(SessionFixture& fixture, quint32 seed) : m_fixture(fixture), m_random(seed)
{
}

QString ClerkScript::kindOf(const QString& message)
{
    if (message.endsWith(QStringLiteral("|确定要删除此区域档案嘛？")))
        return {};
    if (message.contains(QStringLiteral("该区域正在使用")))
        return QStringLiteral("area in use (window check)");
    if (message.contains(QStringLiteral("该区域编码已经存在")))
        return QStringLiteral("code exists (window check)");
    if (containsAny(message, {"更新区域档案失败", "删除区域档案失败"}))
        return QStringLiteral("area gone (window check)");
    if (containsAny(message, {"UNIQUE constraint failed", "violates unique constraint", "已对照到",
                              "已经存在"}))
        return QStringLiteral("unique key collision");
    if (containsAny(message, {"FOREIGN KEY constraint failed", "violates foreign key constraint",
                              "已不存在"}))
        return QStringLiteral("foreign key collision");
    return QStringLiteral("unexpected: ") + message.simplified().left(200);
}

void ClerkScript::runStep()
{
    struct Step {
        const char* name;
        int weight;
        std::function<void(ClerkScript&)> run;
    };
    static const std::array<Step, 9> steps{{
        {"select", 25, [](ClerkScript& s) { s.selectRandomArea(); }},
        {"<", 20, [](ClerkScript& s) { s.mapSome(false); }},
        {">", 15, [](ClerkScript& s) { s.unmapSome(false); }},
        {"<<", 4, [](ClerkScript& s) { s.mapSome(true); }},
        {">>", 5, [](ClerkScript& s) { s.unmapSome(true); }},
        {"add", 10, [](ClerkScript& s) { s.addArea(); }},
        {"modify", 8, [](ClerkScript& s) { s.renameArea(); }},
        {"delete", 10, [](ClerkScript& s) { s.deleteArea(); }},
        {"reopen", 3, [](ClerkScript& s) { s.reopen(); }},
    }};
    int total = 0;
    for (const Step& step : steps)
        total += step.weight;
    int pick = m_random.bounded(total);
    for (const Step& step : steps) {
        if ((pick -= step.weight) >= 0)
            continue;
        const qsizetype first = m_fixture.messages().size();
        step.run(*this);
        ++m_steps[QLatin1String(step.name)];
        sortMessages(first);
        return;
    }
}

void ClerkScript::sortMessages(qsizetype first)
{
    const QStringList& messages = m_fixture.messages();
    for (qsizetype index = first; index < messages.size(); ++index) {
        const QString kind = kindOf(messages[index]);
        if (kind.startsWith(QLatin1String("unexpected: ")))
            ++m_failures[kind];
        else if (!kind.isEmpty())
            ++m_collisions[kind];
    }
}

void ClerkScript::selectRandomArea()
{
    const QStringList nodes = areaNodes(m_fixture.window());
    if (!nodes.isEmpty())
        select(m_fixture.window(), nodes[m_random.bounded(int(nodes.size()))]);
}

void ClerkScript::mapSome(bool all)
{
    TfrmArea* window = m_fixture.window();
    if (all) {
        control<QAbstractButton>(window, "btnAllToLeft")->click();
        return;
    }
    auto* storage = control<QAbstractItemView>(window, "listccqyda");
    const int count = storage->model()->rowCount();
    if (count == 0)
        return;
    // A few neighbouring lines, as a clerk picks them with Shift.
    const int first = m_random.bounded(count);
    const int last = std::min(count, first + 1 + m_random.bounded(MostLinesPerTransfer));
    QList<int> rows;
    for (int row = first; row < last; ++row)
        rows << row;
    selectRows(storage, rows);
    control<QAbstractButton>(window, "btnToLeft")->click();
}

void ClerkScript::unmapSome(bool all)
{
    TfrmArea* window = m_fixture.window();
    if (all) {
        control<QAbstractButton>(window, "tbnAllToRight")->click();
        return;
    }
    auto* mapped = control<QAbstractItemView>(window, "listDZ");
    const int count = mapped->model()->rowCount();
    if (count == 0)
        return;
    QList<int> rows;
    for (int row = 0; row < count; ++row)
        if (m_random.bounded(count) < MostLinesPerTransfer / 2)
            rows << row;
    selectRows(mapped, rows.isEmpty() ? QList<int>{m_random.bounded(count)} : rows);
    control<QAbstractButton>(window, "btnToRight")->click();
}

void ClerkScript::addArea()
{
    const QString code =
        QStringLiteral("L%1").arg(m_random.bounded(SharedCodeCount), 2, 10, QLatin1Char('0'));
    DialogOutcome outcome;
    ::addArea(m_fixture, m_random.bounded(3), code, QStringLiteral("压测新区"), outcome);
}

void ClerkScript::renameArea()
{
    const QStringList nodes = areaNodes(m_fixture.window());
    if (nodes.isEmpty() || !select(m_fixture.window(), nodes[m_random.bounded(int(nodes.size()))]))
        return;
    DialogOutcome outcome;
    renameSelectedArea(m_fixture, QStringLiteral("改名%1").arg(m_random.bounded(100)), outcome);
}

void ClerkScript::deleteArea()
{
    control<QAbstractButton>(m_fixture.window(), "TbnDelete")->click();
}

void ClerkScript::reopen()
{
    m_fixture.startWindow();
}
