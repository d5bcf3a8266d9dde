#include "AuditHistoryDialog.h"

#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "server/DataServer.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The lowest value of the date filter stands for "no filter".
const QDate EarliestDay(2000, 1, 1);

// How much of a batch the table and its tool tip show (an import can be megabytes long).
constexpr qsizetype PreviewLength = 300;
constexpr qsizetype ToolTipLength = 3000;

QString shortened(const QString& text, qsizetype length)
{
    return text.size() <= length ? text : text.left(length) + QStringLiteral("…");
}

QTableWidgetItem* readOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

AuditHistoryDialog::AuditHistoryDialog(server::DataServer* server, QWidget* parent)
    : QDialog(parent), m_server(server), m_since(new QDateEdit(this)),
      m_table(new QTableWidget(0, ColumnCount, this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("auditHistoryDialog"));
    setWindowTitle(QStringLiteral("操作历史"));
    resize(860, 520);

    auto* sinceLabel = new QLabel(QStringLiteral("起始日期："), this);
    m_since->setObjectName(QStringLiteral("auditSince"));
    m_since->setAccessibleName(QStringLiteral("起始日期"));
    sinceLabel->setBuddy(m_since);
    m_since->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_since->setCalendarPopup(true);
    m_since->setDateRange(EarliestDay, QDate(9999, 12, 31));
    m_since->setSpecialValueText(QStringLiteral("全部"));
    m_since->setDate(EarliestDay);

    m_table->setObjectName(QStringLiteral("auditHistory"));
    m_table->setAccessibleName(QStringLiteral("操作历史"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("时间"), QStringLiteral("操作员"), QStringLiteral("内容")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(TimeColumn, 150);
    m_table->setColumnWidth(OperatorColumn, 80);

    m_status->setObjectName(QStringLiteral("auditStatus"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* filter = new QHBoxLayout;
    filter->addWidget(sinceLabel);
    filter->addWidget(m_since);
    filter->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(m_status);
    layout->addWidget(m_table);
    layout->addWidget(buttons);

    connect(m_since, &QDateEdit::dateChanged, this,
            [this] { platform::runGuarded(platform::windowHandle(this), [this] { reload(); }); });
    reload();
}

QDate AuditHistoryDialog::since() const
{
    return m_since->date() == EarliestDay ? QDate() : m_since->date();
}

void AuditHistoryDialog::setSince(const QDate& day)
{
    m_since->setDate(day.isValid() ? day : EarliestDay); // reloads when it changes
}

bool AuditHistoryDialog::reload()
{
    QList<server::TrailBatch> entries;
    QString error;
    server::TrailFilter filter;
    filter.since = since();
    const bool ok = m_server->trail(filter, entries, &error);
    m_table->setRowCount(0);
    m_status->setText(ok ? QStringLiteral("共 %1 条").arg(entries.size())
                         : QStringLiteral("无法读取操作历史：%1").arg(error));
    m_table->setRowCount(int(entries.size()));
    for (int row = 0; row < int(entries.size()); ++row) {
        const server::TrailBatch& entry = entries[row];
        m_table->setItem(row, TimeColumn, readOnlyItem(entry.time));
        m_table->setItem(row, OperatorColumn, readOnlyItem(entry.operatorCode));
        // One line per row; line breaks kept in the tool tip, the whole text in UserRole.
        QTableWidgetItem* text =
            readOnlyItem(shortened(entry.text, PreviewLength * 4).simplified().left(PreviewLength));
        text->setToolTip(shortened(entry.text, ToolTipLength));
        text->setData(Qt::UserRole, entry.text);
        m_table->setItem(row, TextColumn, text);
    }
    return ok;
}
