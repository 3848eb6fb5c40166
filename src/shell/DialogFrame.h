#pragma once
// Building blocks of the small boxed dialogs (about box, password change,
// user list): the outer column, the framed heading, named labels and the
// row buttons.

#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

// The dialog's outer column: 18-pixel margins, `spacing` between the parts.
QVBoxLayout* DialogColumn(QDialog* dialog, int spacing);

// The heading on top: a box frame "Shape1" (line width 2) holding the
// centred bold Arial title "Label1" of `pointSize`, added to `column`.
QLabel* AddDialogHeading(QDialog* dialog, QVBoxLayout* column, const QString& text, int pointSize);

// A label with its objectName.
QLabel* NamedLabel(QWidget* parent, const char* name, const QString& text);

// A 100-pixel-wide button of the dialog's button row. The default button
// answers Enter; the others never take the default on focus.
QPushButton* DialogButton(QWidget* parent, const char* name, const QString& caption, bool isDefault);
