#pragma once
// The program's one upper-casing rule, used wherever a name is upper-cased
// to be stored or compared (marks, holders, attorneys, typed search texts,
// the mark keys): each character becomes its own single capital, so a text
// never changes its length; a character without such a capital keeps its
// form ("ß" stays "ß", "ł" becomes "Ł", "µ" becomes "Μ"). A surrogate pair
// is one character; a lone surrogate stays as it is.

#include <QString>
#include <QStringView>

namespace textcase {

// The capital of one code point, or the code point itself.
char32_t upper(char32_t c);
// The text upper-cased character by character.
QString upper(QStringView text);
inline QString upper(const QString& text) { return upper(QStringView(text)); }

}  // namespace textcase
