#pragma once
// A screen with at most one loaded copy: loaded on first use by instance(),
// unloaded (hidden, then deleted once control returns to the event loop)
// when it is closed or done. A screen derives as
//     class frmX : public LoadedDialog<frmX>
// and names LoadedDialog<frmX> a friend so that its private constructor can
// be reached.

#include <QCloseEvent>
#include <QDialog>

template <class Form>
class LoadedDialog : public QDialog {
public:
    // The screen, loaded (Form_Load) when it is not loaded yet.
    static Form& instance()
    {
        if (!loaded_) loaded_ = new Form;
        return *loaded_;
    }
    static bool isLoaded() { return loaded_ != nullptr; }

protected:
    LoadedDialog() = default;

    void closeEvent(QCloseEvent* e) override
    {
        QDialog::closeEvent(e);
        if (e->isAccepted()) unload();
    }
    void done(int r) override
    {
        QDialog::done(r);
        unload();
    }
    // The Sair button: closes the screen and unloads it.
    void closeAndUnload()
    {
        close();
        unload();
    }
    void unload()
    {
        if (loaded_ != this) return;
        loaded_ = nullptr;
        hide();
        deleteLater();
    }

private:
    inline static Form* loaded_ = nullptr;
};
