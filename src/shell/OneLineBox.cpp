#include "OneLineBox.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QValidator>
#include <algorithm>

namespace {

bool isBreak(QChar c)
{
    switch (c.unicode()) {
    case '\n':
    case '\r':
    case '\t':
    case '\v':
    case '\f':
    case 0x85:
    case 0x2028:
    case 0x2029: return true;
    default: return false;
    }
}

bool isControl(QChar c) { return isBreak(c) || c.category() == QChar::Other_Control; }

// Cleans whatever else puts text in the box (a drop, an input method),
// keeping the box's own validator after it.
class OneLineValidator : public QValidator {
public:
    OneLineValidator(const QValidator* inner, QObject* parent) : QValidator(parent), inner_(inner) {}

    State validate(QString& input, int& pos) const override
    {
        input = OneLine(input, &pos);
        return inner_ ? inner_->validate(input, pos) : Acceptable;
    }
    void fixup(QString& input) const override
    {
        if (inner_) inner_->fixup(input);
    }

private:
    QPointer<const QValidator> inner_;
};

// A paste, with the keys or the context menu: the text is cleaned before
// the box takes it.
class PasteFilter : public QObject {
public:
    PasteFilter(QLineEdit* box, std::function<void(const QString&)> paste)
        : QObject(box), box_(box), paste_(std::move(paste))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_ || box_->isReadOnly()) return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
            take(QGuiApplication::clipboard()->text());
            return true;
        case QEvent::ContextMenu: contextMenu(static_cast<QContextMenuEvent*>(event)); return true;
        default: return false;
        }
    }

private:
    void take(const QString& pasted)
    {
        const QString text = OneLine(pasted);
        if (paste_) {
            paste_(text);
            return;
        }
        if (!text.isEmpty() || box_->hasSelectedText()) box_->insert(text);
    }

    // The box's own menu, its Paste going through take().
    void contextMenu(QContextMenuEvent* event)
    {
        QMenu* menu = box_->createStandardContextMenu();
        const QString pasteText = QLineEdit::tr("&Paste");
        for (QAction* a : menu->actions())
            if (a->text().section(QLatin1Char('\t'), 0, 0) == pasteText) {
                disconnect(a, &QAction::triggered, box_, nullptr);
                connect(a, &QAction::triggered, this, [this] { take(QGuiApplication::clipboard()->text()); });
            }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPos());
    }

    QLineEdit* box_;
    std::function<void(const QString&)> paste_;
};

}  // namespace

QString OneLine(const QString& text, int* pos)
{
    if (std::none_of(text.begin(), text.end(), isControl)) return text;
    qsizetype begin = 0, end = text.size();
    while (begin < end && isControl(text[begin])) ++begin;
    while (end > begin && isControl(text[end - 1])) --end;
    QString out;
    out.reserve(end - begin);
    int at = -1;
    for (qsizetype i = begin; i < end; ++i) {
        if (pos && at < 0 && i >= *pos) at = int(out.size());
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < end && text[i + 1] == QLatin1Char('\n')) continue;
        if (isBreak(c))
            out += QLatin1Char(' ');
        else if (!isControl(c))
            out += c;
    }
    if (pos) *pos = at < 0 ? int(out.size()) : at;
    return out;
}

void OneLineBox(QLineEdit* box, std::function<void(const QString&)> paste)
{
    if (box->property("oneLine").toBool()) return;
    box->setProperty("oneLine", true);
    box->setValidator(new OneLineValidator(box->validator(), box));
    box->installEventFilter(new PasteFilter(box, std::move(paste)));
}
