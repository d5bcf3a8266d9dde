#pragma once

#include <QDateEdit>

// A date filter that may be off: its lowest value shows "全部". Typing a date over "全部"
// enters that date (the digits do not go after the word); Delete shows "全部" again. F4 or
// Alt+Down opens the calendar, at today's month while "全部" is shown. The date is taken
// when typing ends (Enter, leaving the edit), not at every digit.
class OptionalDateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit OptionalDateEdit(QWidget* parent);

    // The date chosen; null for "全部".
    QDate day() const;
    void setDay(const QDate& day);
    // Opens the calendar as a click on the arrow does.
    void openCalendar();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isAll() const { return date() == minimumDate(); }
};
