#pragma once
// The program's windows: the main menu and, behind every menu entry, the
// screen it opens. Each screen exists once: created on first use, shown
// again (the same instance) when its entry is chosen again.

#include "shell/MenuEntry.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <typeindex>

class MenuGeral;

// The program as started, once the application object exists: Portuguese
// widgets whatever the machine's language, the settings and the
// connection, then the main menu until the program ends. Returns the exit
// status.
int RunProgram();

class App : public QObject {
    Q_OBJECT
public:
    App();
    ~App() override;

    MenuGeral& menuGeral() { return *menu_; }

    // Shows the main menu; the program then lives in its windows.
    void start();

    // Opens the screen of a menu entry (the gate already passed).
    void open(MenuEntry entry);

    // The one instance of a screen, created on first use (and again after
    // the screen deleted itself).
    template <class T>
    T& screen()
    {
        QPointer<QWidget>& slot = screens_[std::type_index(typeid(T))];
        if (!slot) slot = new T();
        return static_cast<T&>(*slot);
    }

    // Shows a screen modally / modeless. A failure while it loads is shown
    // as a critical message and the program goes on.
    template <class T>
    void openModal()
    {
        guarded([this] { showModalWindow(&screen<T>()); });
    }
    template <class T>
    void openModeless()
    {
        guarded([this] { showWindow(&screen<T>()); });
    }

private:
    void guarded(const std::function<void()>& action);
    static void showModalWindow(QWidget* w);
    static void showWindow(QWidget* w);

    std::unique_ptr<MenuGeral> menu_;
    std::map<std::type_index, QPointer<QWidget>> screens_;
};
