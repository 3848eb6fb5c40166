#include "WaitWindow.h"

#include "Ui.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <exception>
#include <memory>

WaitWindow::WaitWindow(const QString& text, QWidget* parent) : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("WaitWindow"));
    setWindowTitle(kWindowTitle);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 18, 24, 18);
    column->setSpacing(12);
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("Aviso"));
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPointSize(f.pointSize() + 1);
    label->setFont(f);
    column->addWidget(label);
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // moving: the program is alive
    bar->setTextVisible(false);
    bar->setFixedHeight(12);
    column->addWidget(bar);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void WaitWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void RunShowingWaitWindow(const QString& text, const std::function<void()>& task)
{
    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            task();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    WaitWindow window(text);
    // The program's other windows wait too: a connection opened again in the
    // middle of an operation must not see another one start meanwhile.
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    window.hide();
    if (failure) std::rethrow_exception(failure);
}
