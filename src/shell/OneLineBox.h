#pragma once
// One-line boxes. Text copied from a spreadsheet cell or a document often
// ends with a line break or a tab, which a one-line box would keep unseen.
// Every one-line box of the program goes through OneLineBox(), so that no
// control character gets into it, however the text arrives.

#include <QString>
#include <functional>

class QLineEdit;

// The text as one line: control characters at its ends dropped; inside it
// a line break (LF, CR, CR LF, and the other line and paragraph breaks) or
// a tab becomes one blank, and any other control character is dropped.
// When pos is given, it is a cursor position in text, moved to the same
// place in the result.
QString OneLine(const QString& text, int* pos = nullptr);

// Makes `box` a one-line box. A paste (the keys or the context menu) is
// cleaned by OneLine before the box takes it, so its length limit counts
// what is kept; `paste`, when given, takes the cleaned text instead of the
// box. Whatever else puts text in the box is cleaned as a whole. A
// validator the box has is kept (call this after setting it).
void OneLineBox(QLineEdit* box, std::function<void(const QString&)> paste = {});
