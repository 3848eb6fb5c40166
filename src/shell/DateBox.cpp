#include "DateBox.h"

#include "OneLineBox.h"
#include "Ui.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyleOption>
#include <QVBoxLayout>

namespace {

const QString kFormat = QStringLiteral("dd/MM/yyyy");

// The drop-down: Esc closes it and gives the box back its date.
class CalendarPopup : public QFrame {
public:
    explicit CalendarPopup(QWidget* box) : QFrame(box, Qt::Popup)
    {
        setFrameShape(QFrame::Box);
        setAttribute(Qt::WA_WindowPropagation);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            hide();
            return;
        }
        QFrame::keyPressEvent(event);
    }
};

QIcon arrowIcon(const QWidget* box)
{
    const int side = 12;
    QPixmap pixmap(side * 2, side * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QStyleOption option;
    option.initFrom(box);
    option.rect = QRect(0, 0, side, side);
    option.state |= QStyle::State_Enabled;
    box->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &p, box);
    return QIcon(pixmap);
}

}  // namespace

DateBox::DateBox(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(10);
    // Pastes go through pasteDate; whatever else puts text in the box,
    // digits and slashes only.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9/]{0,10}")), this));
    OneLineBox(this, [this](const QString& pasted) { pasteDate(pasted); });
    setInvalidMessage(QStringLiteral("Data inválida !"), kAppTitle);
    QAction* drop = addAction(arrowIcon(this), QLineEdit::TrailingPosition);
    drop->setObjectName(QStringLiteral("calendario"));
    connect(drop, &QAction::triggered, this, &DateBox::showCalendar);
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 36);
}

DateBox::~DateBox() = default;

QDate DateBox::Parse(const QString& typed)
{
    static const QRegularExpression withSlashes(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    static const QRegularExpression digitsOnly(QStringLiteral("^(\\d{2})(\\d{2})(\\d{4})$"));
    QRegularExpressionMatch m = withSlashes.match(typed);
    if (!m.hasMatch()) m = digitsOnly.match(typed);
    if (!m.hasMatch()) return QDate();
    const int year = m.captured(3).toInt();
    if (year < 1) return QDate();
    return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
}

void DateBox::setDate(const QDate& date)
{
    setText(date.isValid() ? date.toString(kFormat) : QString());
    if (hasFocus()) selectAll();
}

void DateBox::setInvalidMessage(const QString& text, const QString& title)
{
    invalidText_ = text;
    invalidTitle_ = title;
}

bool DateBox::startsAnew() const { return fresh_ && (!hasSelectedText() || selectedText() == text()); }

void DateBox::pasteDate(const QString& pasted)
{
    if (pasted.isEmpty()) return;
    // Blanks at the ends dropped; "-" and "." between the parts are "/".
    QString piece = pasted.trimmed();
    piece.replace(QLatin1Char('-'), QLatin1Char('/')).replace(QLatin1Char('.'), QLatin1Char('/'));
    QString whole = piece;
    if (!startsAnew()) {
        whole = text();
        whole.replace(hasSelectedText() ? selectionStart() : cursorPosition(), selectionLength(), piece);
    }
    const QDate d = Parse(whole);
    if (!d.isValid()) {
        MsgBox(invalidText_, vb::Critical, invalidTitle_);
        return;
    }
    fresh_ = false;
    setText(d.toString(kFormat));
}

void DateBox::tidy()
{
    const QDate d = date();
    if (d.isValid() && text() != d.toString(kFormat)) setText(d.toString(kFormat));
}

void DateBox::typeDigit(QKeyEvent* event)
{
    if (fresh_) {
        if (startsAnew()) clear();
        fresh_ = false;
    }
    QLineEdit::keyPressEvent(event);
    // Day and month of two digits are followed by their slash.
    static const QRegularExpression dayOrMonth(QStringLiteral("^(\\d{2}|\\d{1,2}/\\d{2})$"));
    if (!hasSelectedText() && cursorPosition() == text().size() && dayOrMonth.match(text()).hasMatch())
        insert(QStringLiteral("/"));
}

void DateBox::typeSlash()
{
    fresh_ = false;
    const QString before = text().left(selectionStart() >= 0 ? selectionStart() : cursorPosition());
    // A slash right after one (the one added after the day or the month),
    // at the start, or a third one, is no new part of the date.
    if (before.isEmpty() || before.endsWith(QLatin1Char('/'))) return;
    QString after = text();
    if (hasSelectedText()) after.remove(selectionStart(), selectedText().size());
    if (after.count(QLatin1Char('/')) >= 2) return;
    insert(QStringLiteral("/"));
}

void DateBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_F4 || (key == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    const QString t = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && t.size() == 1 && t.at(0).isPrint()) {
        if (t.at(0).isDigit() && t.at(0).unicode() < 128)
            typeDigit(event);
        else if (t == QLatin1String("/") || t == QLatin1String("-") || t == QLatin1String("."))
            typeSlash();
        // Nothing else belongs in a date.
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) tidy();
    // Any key that edits or moves in the text makes the next digit an edit
    // in place; Tab and the keys that only modify others do not.
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        break;
    default:
        fresh_ = false;
    }
    QLineEdit::keyPressEvent(event);
}

void DateBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    // Back from the calendar, or from another window in the middle of a
    // date, the typing goes on.
    if (reason == Qt::PopupFocusReason) return;
    if (reason == Qt::ActiveWindowFocusReason && !date().isValid() && text().size() < maxLength()) return;
    fresh_ = true;
    focusedByPress_ = reason == Qt::MouseFocusReason;
    selectAll();
}

void DateBox::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason) tidy();
    QLineEdit::focusOutEvent(event);
}

void DateBox::mousePressEvent(QMouseEvent* event)
{
    // The press that brought the focus keeps the box fresh; a later one
    // places the cursor for an edit in place.
    if (!focusedByPress_) fresh_ = false;
    focusedByPress_ = false;
    QLineEdit::mousePressEvent(event);
}

QCalendarWidget* DateBox::calendarWidget()
{
    if (!calendar_) {
        popup_ = new CalendarPopup(this);
        calendar_ = new QCalendarWidget(popup_);
        calendar_->setObjectName(QStringLiteral("calendario"));
        calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        auto* l = new QVBoxLayout(popup_);
        l->setContentsMargins(1, 1, 1, 1);
        l->addWidget(calendar_);
        connect(calendar_, &QCalendarWidget::clicked, this, &DateBox::choose);
        connect(calendar_, &QCalendarWidget::activated, this, &DateBox::choose);
    }
    return calendar_;
}

void DateBox::showCalendar()
{
    if (!isEnabled() || isReadOnly()) return;
    // A click on the arrow moves the focus here as a click in the box does:
    // the box left is checked first, and one that is refused keeps it.
    if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
        focusedByPress_ = false;
        if (!hasFocus()) return;
    }
    QCalendarWidget* c = calendarWidget();
    const QDate d = date();
    c->setSelectedDate(d.isValid() ? d : appClock().today());
    popup_->adjustSize();
    // Under the box, or above it where the screen ends.
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        if (at.y() + popup_->height() > area.bottom()) at.setY(mapToGlobal(QPoint(0, 0)).y() - popup_->height());
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - popup_->width())));
    }
    popup_->move(at);
    popup_->show();
    c->setFocus(Qt::PopupFocusReason);
}

bool DateBox::calendarShown() const { return popup_ && popup_->isVisible(); }

void DateBox::choose(const QDate& date)
{
    popup_->hide();
    setDate(date);
    setFocus(Qt::PopupFocusReason);
    // A date chosen whole: the next digit typed starts another.
    fresh_ = true;
    selectAll();
}
