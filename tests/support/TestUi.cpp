#include "TestUi.h"

#include <QWidget>

TestUi::TestUi() { setUi(this); }
TestUi::~TestUi() { setUi(nullptr); }

int TestUi::msgBox(const QString& text, int style, const QString& title)
{
    RecordedMessage m{text, style, title};
    messages << m;
    if (onMessage) onMessage(m);
    if (!msgAnswers.empty()) {
        const int a = msgAnswers.front();
        msgAnswers.pop_front();
        return a;
    }
    switch (style & 0x0F) {
    case vb::YesNoCancel:
    case vb::YesNo: return vb::Yes;
    case vb::AbortRetryIgnore: return vb::Abort;
    case vb::RetryCancel: return vb::Retry;
    default: return vb::OK;
    }
}

std::optional<QString> TestUi::inputBox(const QString& prompt, const QString&, const QString&, bool)
{
    inputPrompts << prompt;
    if (inputAnswers.empty()) return std::nullopt;
    std::optional<QString> a = std::move(inputAnswers.front());
    inputAnswers.pop_front();
    if (!a.has_value()) return std::nullopt;
    return QString(*a);
}

QString TestUi::openFile(const FileDialogRequest& request)
{
    fileRequests << request;
    if (fileAnswers.empty()) return QString();
    QString a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

void TestUi::setPointer(int p)
{
    pointer_ = p;
    pointerHistory << p;
}

bool TestUi::openWithDesktop(const QString& path)
{
    openedFiles << path;
    return openWithDesktopResult;
}

int TestUi::showModal(QWidget* w)
{
    modalWindows << (w ? w->objectName() : QString());
    if (onModal) return onModal(w);
    return 0;
}

void TestUi::clear()
{
    messages.clear();
    inputPrompts.clear();
    fileRequests.clear();
    pointerHistory.clear();
    openedFiles.clear();
    modalWindows.clear();
    waitTexts.clear();
    beeps = 0;
}

TestClock::TestClock() { setAppClock(this); }
TestClock::~TestClock() { setAppClock(nullptr); }
