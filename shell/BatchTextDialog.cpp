#include "BatchTextDialog.h"

#include "TrailText.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A statement-long line ends after its ";"; no shown line is longer than this.
constexpr qsizetype LongestLine = 1000;
constexpr qsizetype ShortestStatementLine = 80;

// The text with line breaks after statements and in overlong lines: a text editor lays out
// a line of a million characters in minutes, many short ones at once.
QString withLineBreaks(const QString& text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / 64);
    qsizetype lineStart = 0;
    for (const QChar c : text) {
        shown += c;
        const qsizetype length = shown.size() - lineStart;
        if (c == QLatin1Char('\n')) {
            lineStart = shown.size();
        } else if ((c == QLatin1Char(';') && length >= ShortestStatementLine) ||
                   length >= LongestLine) {
            shown += QLatin1Char('\n');
            lineStart = shown.size();
        }
    }
    return shown;
}

} // namespace

BatchTextDialog::BatchTextDialog(const QString& caption, const QString& text, QWidget* parent)
    : QDialog(parent), m_text(text), m_view(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("batchTextDialog"));
    setWindowTitle(QStringLiteral("批处理全文"));
    resize(820, 560);

    auto* heading = new QLabel(QStringLiteral("%1    共 %2（显示时长行已分行；“复制全文”复制原文）")
                                   .arg(caption, TrailText::sizeText(text.size())),
                               this);
    heading->setObjectName(QStringLiteral("batchTextSize"));
    m_view->setObjectName(QStringLiteral("batchText"));
    m_view->setAccessibleName(QStringLiteral("批处理全文"));
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setPlainText(withLineBreaks(text));
    heading->setBuddy(m_view);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("复制全文(&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("batchTextCopy"));
    connect(copy, &QPushButton::clicked, this, &BatchTextDialog::copyAll);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
}

void BatchTextDialog::copyAll() const
{
    QGuiApplication::clipboard()->setText(m_text);
}
