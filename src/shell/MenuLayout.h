#pragma once
// The look shared by the three menus: the window title, a framed heading
// (Label1) with the office line (Escritório), and a framed column of buttons.

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace menulayout {

struct Frame {
    QLabel* heading = nullptr;     // Label1
    QLabel* office = nullptr;      // Escritório
    QFrame* headFrame = nullptr;   // Shape1
    QFrame* buttonFrame = nullptr; // Shape2
    QVBoxLayout* buttons = nullptr;
};

// Builds the frame on a menu window and sets its title.
Frame build(QWidget* window, const QString& heading);

// Adds a button to the column; the objectName keeps the documented name.
QPushButton* addButton(Frame& frame, const QString& objectName, const QString& caption);
// A small gap between groups of buttons.
void addGap(Frame& frame);

}  // namespace menulayout
