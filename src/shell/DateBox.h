#pragma once
// A date box as an office types into it: the date day first, dd/mm/yyyy,
// typed with the slashes or without them ("01/04/2021", "1/4/2021",
// "01042021"), or chosen on the calendar that drops down from the arrow at
// its right (or with Alt+Down or F4).
//
// The box holds what was typed. "-" and "." are taken as "/". A slash is
// added after a two-digit day or month, and a slash typed right after one
// is taken as that one. A text that is no date (29/02/2021, a year of fewer
// than four digits) is never turned into another date: date() is then
// invalid, and the screen refuses it before it is used. The first digit
// typed into a box that has just taken the focus starts a new date, unless
// the user has selected a part of it to replace (a double click on the
// month).
//
// A pasted date may have blanks and line breaks at its ends and "-" or "."
// between its parts; a paste that gives the box no date is refused with the
// box's message, and the box keeps its date.

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;
class QFrame;

class DateBox : public QLineEdit {
    Q_OBJECT
public:
    explicit DateBox(QWidget* parent = nullptr);
    ~DateBox() override;

    // The date the text holds; invalid when it holds none.
    QDate date() const { return Parse(text()); }
    // Shows `date` as dd/mm/yyyy (an invalid date empties the box).
    void setDate(const QDate& date);
    QString displayFormat() const { return QStringLiteral("dd/MM/yyyy"); }
    // The message (critical icon) refusing a paste that holds no date.
    void setInvalidMessage(const QString& text, const QString& title);

    // The drop-down calendar (made on first use) and its opening.
    QCalendarWidget* calendarWidget();
    void showCalendar();
    bool calendarShown() const;

    // The date of a typed text: d/m/yyyy with one or two digits of day and
    // month, or ddmmyyyy; invalid for anything else and for days that do
    // not exist.
    static QDate Parse(const QString& typed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void typeDigit(QKeyEvent* event);
    void typeSlash();
    void pasteDate(const QString& pasted);
    // The first digit or paste replaces the whole text.
    bool startsAnew() const;
    // A valid date is shown in its full form (1/4/2021 as 01/04/2021).
    void tidy();
    void choose(const QDate& date);

    QFrame* popup_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    bool fresh_ = false;         // the focus has just come: a digit starts anew
    bool focusedByPress_ = false;
    QString invalidText_, invalidTitle_;
};
