#include "AuditHistoryDialog.h"

#include "BatchTextDialog.h"
#include "OptionalDateEdit.h"
#include "TrailBatchModel.h"
#include "TrailRowModel.h"
#include "TrailText.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum CodeFilter { OperatorFilter, AreaFilter, StorageAreaFilter };

// At most this many rows are named in a message box; the rest are counted.
constexpr qsizetype ListedLines = 20;

QString listed(const QStringList& lines)
{
    QString text = lines.mid(0, ListedLines).join(QLatin1Char('\n'));
    if (lines.size() > ListedLines)
        text += QStringLiteral("\n……另有 %1 行").arg(lines.size() - ListedLines);
    return text;
}

QString rowLine(const server::TrailRow& row)
{
    return QStringLiteral("%1 %2 %3")
        .arg(TrailText::tableName(row.table), row.key, TrailText::operationName(row.operation));
}

QTableView* tableView(QAbstractItemModel* model, const char* name, const QString& accessibleName,
                      QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setAccessibleName(accessibleName);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->setVisible(false);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

} // namespace

AuditHistoryDialog::AuditHistoryDialog(server::DataServer* server, QWidget* parent)
    : QDialog(parent), m_server(server), m_since(new OptionalDateEdit(this)),
      m_until(new OptionalDateEdit(this)), m_status(new QLabel(this)),
      m_batches(new TrailBatchModel(this)), m_rowsHeading(new QLabel(this)),
      m_rows(new TrailRowModel(this))
{
    setObjectName(QStringLiteral("auditHistoryDialog"));
    setWindowTitle(QStringLiteral("操作历史"));
    resize(980, 640);

    auto* filters = new QGridLayout;
    const auto addFilter = [this, filters](const QString& label, QWidget* edit, int column) {
        auto* caption = new QLabel(label + QStringLiteral("："), this);
        caption->setBuddy(edit);
        edit->setAccessibleName(
            QString(label).remove(QLatin1Char('&')).section(QLatin1Char('('), 0, 0));
        filters->addWidget(caption, column / 6, column % 6);
        filters->addWidget(edit, column / 6, column % 6 + 1);
    };
    m_since->setObjectName(QStringLiteral("auditSince"));
    m_until->setObjectName(QStringLiteral("auditUntil"));
    addFilter(QStringLiteral("起始日期(&S)"), m_since, 0);
    addFilter(QStringLiteral("截止日期(&E)"), m_until, 2);
    const char* const codeNames[] = {"auditOperator", "auditArea", "auditStorageArea"};
    const QString codeLabels[] = {QStringLiteral("操作员(&O)"), QStringLiteral("区域(&A)"),
                                  QStringLiteral("存储区域(&W)")};
    for (int index = 0; index < 3; ++index) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(codeNames[index]));
        edit->setPlaceholderText(QStringLiteral("全部"));
        edit->setClearButtonEnabled(true);
        addFilter(codeLabels[index], edit, 6 + 2 * index);
        connect(edit, &QLineEdit::editingFinished, this, [this] { reload(); });
        m_codeFilters << edit;
    }
    auto* query = new QPushButton(QStringLiteral("查询(&Q)"), this);
    query->setObjectName(QStringLiteral("auditQuery"));
    filters->addWidget(query, 1, 6);

    m_status->setObjectName(QStringLiteral("auditStatus"));
    m_batchView = tableView(m_batches, "auditHistory", QStringLiteral("操作历史"), this);
    m_batchView->setColumnWidth(TrailBatchModel::IdColumn, 60);
    m_batchView->setColumnWidth(TrailBatchModel::TimeColumn, 150);
    m_batchView->setColumnWidth(TrailBatchModel::OperatorColumn, 70);
    m_batchView->setColumnWidth(TrailBatchModel::RowCountColumn, 60);
    m_rowsHeading->setObjectName(QStringLiteral("auditRowsHeading"));
    m_rowView = tableView(m_rows, "auditRows", QStringLiteral("变动行"), this);
    m_rowView->setColumnWidth(TrailRowModel::OperationColumn, 60);
    m_rowView->setColumnWidth(TrailRowModel::TableColumn, 80);
    m_rowView->setColumnWidth(TrailRowModel::KeyColumn, 120);
    m_rowView->setColumnWidth(TrailRowModel::BeforeColumn, 300);
    m_rowsHeading->setBuddy(m_rowView);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_showText = buttons->addButton(QStringLiteral("查看全文(&T)…"), QDialogButtonBox::ActionRole);
    m_showText->setObjectName(QStringLiteral("auditShowText"));
    m_restore = buttons->addButton(QStringLiteral("恢复此批(&R)…"), QDialogButtonBox::ActionRole);
    m_restore->setObjectName(QStringLiteral("auditRestore"));
    for (QPushButton* button : {query, m_showText, m_restore})
        button->setAutoDefault(false);
    query->setDefault(true); // Enter in a filter applies it

    auto* rowsPane = new QWidget(this);
    auto* rowsLayout = new QVBoxLayout(rowsPane);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->addWidget(m_rowsHeading);
    rowsLayout->addWidget(m_rowView);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_batchView);
    splitter->addWidget(rowsPane);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_status);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);

    const auto guarded = [this](void (AuditHistoryDialog::*handler)()) {
        return [this, handler] {
            platform::runGuarded(platform::windowHandle(this),
                                 [this, handler] { (this->*handler)(); });
        };
    };
    connect(m_since, &QDateEdit::dateChanged, this, [this] { reload(); });
    connect(m_until, &QDateEdit::dateChanged, this, [this] { reload(); });
    connect(query, &QPushButton::clicked, this, [this] { reload(); });
    connect(m_batchView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &AuditHistoryDialog::showSelectedRows);
    connect(m_batchView, &QTableView::activated, this,
            guarded(&AuditHistoryDialog::showSelectedText));
    connect(m_showText, &QPushButton::clicked, this,
            guarded(&AuditHistoryDialog::showSelectedText));
    connect(m_restore, &QPushButton::clicked, this, [this] {
        platform::runGuarded(platform::windowHandle(this), [this] { restoreSelected(); });
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    reload();
}

server::TrailFilter AuditHistoryDialog::filter() const
{
    server::TrailFilter filter;
    filter.since = m_since->day();
    filter.until = m_until->day();
    filter.operatorCode = m_codeFilters[OperatorFilter]->text().trimmed();
    filter.areaCode = m_codeFilters[AreaFilter]->text().trimmed();
    filter.storageAreaCode = m_codeFilters[StorageAreaFilter]->text().trimmed();
    filter.limit = BatchLimit;
    return filter;
}

bool AuditHistoryDialog::reload()
{
    QList<server::TrailBatch> batches;
    QString error;
    const bool ok = m_server->trail(filter(), batches, &error);
    if (!ok)
        m_status->setText(QStringLiteral("无法读取操作历史：%1").arg(error));
    else if (batches.size() >= BatchLimit)
        m_status->setText(
            QStringLiteral("仅显示最近 %1 批，请缩小日期范围或按操作员、区域查询").arg(BatchLimit));
    else
        m_status->setText(QStringLiteral("共 %1 批").arg(batches.size()));
    m_batches->setBatches(ok ? std::move(batches) : QList<server::TrailBatch>());
    if (m_batches->rowCount() > 0)
        m_batchView->selectRow(0);
    showSelectedRows();
    return ok;
}

const server::TrailBatch* AuditHistoryDialog::selectedBatch() const
{
    const QModelIndexList rows = m_batchView->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_batches->batch(rows.first().row());
}

void AuditHistoryDialog::showSelectedRows()
{
    const server::TrailBatch* batch = selectedBatch();
    m_rows->setRows(batch ? batch->rows : QList<server::TrailRow>());
    m_showText->setEnabled(batch && !batch->text.isEmpty());
    m_restore->setEnabled(batch && !batch->rows.isEmpty());
    if (!batch)
        m_rowsHeading->setText(QStringLiteral("变动行："));
    else if (batch->rows.isEmpty())
        m_rowsHeading->setText(
            QStringLiteral("批次 #%1 没有逐行记录（早期记录只保存了语句文本）：").arg(batch->id));
    else
        m_rowsHeading->setText(QStringLiteral("批次 #%1 的 %2 行变动（修改前 → 修改后）：")
                                   .arg(batch->id)
                                   .arg(batch->rows.size()));
}

void AuditHistoryDialog::showSelectedText()
{
    const server::TrailBatch* batch = selectedBatch();
    if (!batch || batch->text.isEmpty())
        return;
    BatchTextDialog dialog(QStringLiteral("批次 #%1  %2  操作员 %3")
                               .arg(batch->id)
                               .arg(batch->time, batch->operatorCode),
                           batch->text, this);
    platform::execModal(dialog);
}

bool AuditHistoryDialog::restoreSelected()
{
    const server::TrailBatch* selected = selectedBatch();
    if (!selected || selected->rows.isEmpty())
        return false;
    const server::TrailBatch batch = *selected; // the list is read again below
    const platform::WindowHandle owner = platform::windowHandle(this);
    const auto tell = [owner](const QString& text, platform::MessageBoxIcon icon) {
        platform::showMessageBox(owner, text, QStringLiteral("恢复"),
                                 platform::MessageBoxButtons::Ok, icon);
    };
    const auto refused = [&](const server::RestoreOutcome& outcome, const QString& error) {
        tell(outcome.conflicts.isEmpty()
                 ? QStringLiteral("无法恢复批次 #%1：%2").arg(batch.id).arg(error)
                 : QStringLiteral(
                       "批次 #%1 无法恢复：以下记录在此批之后又被修改过，恢复会覆盖这些修改。\n%2")
                       .arg(batch.id)
                       .arg(listed(outcome.conflicts)),
             platform::MessageBoxIcon::Stop);
        return false;
    };

    server::RestoreOutcome plan;
    QString error;
    if (!m_server->restoreBatch(batch.id, true, false, plan, &error) || !plan.conflicts.isEmpty())
        return refused(plan, error);
    QStringList planned;
    for (const server::TrailRow& row : std::as_const(plan.planned))
        planned << rowLine(row);
    const QString question =
        QStringLiteral(
            "把批次 #%1（%2，操作员 %3）改动的 %4 行恢复为改动前的内容：\n%5\n\n确定恢复吗？")
            .arg(batch.id)
            .arg(batch.time, batch.operatorCode)
            .arg(plan.planned.size())
            .arg(listed(planned));
    if (platform::showMessageBox(owner, question, QStringLiteral("恢复"),
                                 platform::MessageBoxButtons::OkCancel,
                                 platform::MessageBoxIcon::Question) != platform::IDOK)
        return false;

    server::RestoreOutcome outcome;
    if (!m_server->restoreBatch(batch.id, false, false, outcome, &error))
        return refused(outcome, error);
    reload();
    tell(QStringLiteral("已恢复批次 #%1 的 %2 行（这次恢复记为批次 #%3）。")
             .arg(batch.id)
             .arg(outcome.planned.size())
             .arg(outcome.restoreBatchId),
         platform::MessageBoxIcon::Information);
    return true;
}
