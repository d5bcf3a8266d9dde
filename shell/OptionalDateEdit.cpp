#include "OptionalDateEdit.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace {

// The lowest value, shown as "全部".
const QDate NoDay(2000, 1, 1);

} // namespace

OptionalDateEdit::OptionalDateEdit(QWidget* parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
    setDateRange(NoDay, QDate(9999, 12, 31));
    setSpecialValueText(QStringLiteral("全部"));
    setDate(NoDay);
    setKeyboardTracking(false);
    setToolTip(QStringLiteral("输入日期（如 20260701）或按 F4 从日历中选择；按 Delete 显示全部"));
    calendarWidget()->installEventFilter(this);
}

QDate OptionalDateEdit::day() const
{
    return isAll() ? QDate() : date();
}

void OptionalDateEdit::setDay(const QDate& day)
{
    setDate(day.isValid() ? day : NoDay);
}

void OptionalDateEdit::openCalendar()
{
    // The edit opens its calendar only from a mouse press on the arrow of its combo box
    // frame; the press is made where that arrow is.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QPoint arrow =
        style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this)
            .center();
    QMouseEvent press(QEvent::MouseButtonPress, arrow, mapToGlobal(arrow), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    mousePressEvent(&press);
}

void OptionalDateEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier)) {
        openCalendar();
        return;
    }
    if (event->key() == Qt::Key_Delete && !isAll()) {
        setDay({});
        return;
    }
    const QString typed = event->text();
    if (isAll() && typed.size() == 1 && typed[0].isDigit()) {
        // Start from a real date with its year selected, so the digits replace it section by
        // section instead of following the word; the filter waits for the whole date.
        const QSignalBlocker quiet(this);
        setDate(QDate::currentDate());
        setCurrentSection(QDateTimeEdit::YearSection);
        setSelectedSection(QDateTimeEdit::YearSection);
    }
    QDateEdit::keyPressEvent(event);
}

bool OptionalDateEdit::eventFilter(QObject* watched, QEvent* event)
{
    // The popup shows the month of the edit's date, January 2000 for "全部".
    if (watched == calendarWidget() && event->type() == QEvent::Show && isAll()) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
    return QDateEdit::eventFilter(watched, event);
}
