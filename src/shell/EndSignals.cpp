#include "EndSignals.h"

#include "Db.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace EndSignals {

namespace {

int g_pipe[2] = {-1, -1};  // [0] written by the handler, [1] read by the notifier
QSocketNotifier* g_notifier = nullptr;
std::atomic<bool> g_connecting{false};

void handler(int signal)
{
    const int saved = errno;
    const unsigned char b = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &b, 1);
    errno = saved;
}

void endNow(bool idle)
{
    if (idle) {
        QCoreApplication::exit(0);
        return;
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace

std::function<void(bool)> endProgram = endNow;

void install()
{
    if (g_pipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
        ::fcntl(g_pipe[0], F_SETFL, ::fcntl(g_pipe[0], F_GETFL) | O_NONBLOCK);
        g_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(g_notifier, &QSocketNotifier::activated, [] {
            unsigned char b = 0;
            if (::read(g_pipe[1], &b, 1) == 1) onSignal(b);
        });
    }
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

void setConnecting(bool connecting) { g_connecting = connecting; }

void onSignal(int /*signal*/)
{
    if (g_connecting) {
        if (endProgram) endProgram(false);
        return;
    }
    DbConnection& db = DbConnection::instance();
    const bool idle = !db.inTransaction() && QThread::currentThread()->loopLevel() <= 1 &&
                      !QApplication::activeModalWidget();
    db.close();  // rolls back what an operation had not committed
    if (endProgram) endProgram(idle);
}

}  // namespace EndSignals
