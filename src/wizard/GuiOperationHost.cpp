#include "wizard/GuiOperationHost.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include "platform/CodePage.h"
#include "ui/MessageBox.h"
#include "wizard/WizardController.h"
#include "wizard/WizardWindow.h"

#ifdef __SANITIZE_THREAD__
#include <sanitizer/tsan_interface.h>
#endif

namespace vantrel {

namespace {

// Qt's libraries are not built for ThreadSanitizer, so it cannot see that a blocking queued
// call orders the worker's writes before the GUI thread's reads and back. Each side marks its
// hand-over on the host itself; in other builds these are nothing.
inline void HandOver([[maybe_unused]] void* token) {
#ifdef __SANITIZE_THREAD__
    __tsan_release(token);
#endif
}

inline void TakeOver([[maybe_unused]] void* token) {
#ifdef __SANITIZE_THREAD__
    __tsan_acquire(token);
#endif
}

// Counts the GUI thread into a worker's call and out again, also when the call throws.
class TCallDepth {
public:
    explicit TCallDepth(int& depth) : depth_(depth) { ++depth_; }
    ~TCallDepth() { --depth_; }
    TCallDepth(const TCallDepth&) = delete;
    TCallDepth& operator=(const TCallDepth&) = delete;

private:
    int& depth_;
};

void WipeText(QString& text) {
    text.fill(QChar(0));
    text.clear();
}

}  // namespace

TGuiOperationHost::TGuiOperationHost(TWizardController& owner) : owner_(owner) {}

template <class Fn>
void TGuiOperationHost::RunOnGuiThread(Fn&& fn) {
    auto call = [this, &fn] {
        TakeOver(this);
        TCallDepth depth(callDepth_);
        fn();
        HandOver(this);
    };
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    HandOver(this);
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
    TakeOver(this);
}

bool TGuiOperationHost::AskPassword(const std::string& promptFileName, ByteString& password) {
    if (Abandoned()) return false;
    bool accepted = false;
    QString typed;
    RunOnGuiThread([&] {
        if (Abandoned()) return;
        accepted = owner_.Window().AskOperationPassword(QString::fromStdString(promptFileName), typed);
    });
    // A dialog answered while the program quits counts as Cancel, whatever was pressed.
    accepted = accepted && !Abandoned();
    if (accepted) password = Utf8ToAnsi(typed.toStdString());
    WipeText(typed);
    return accepted;
}

void TGuiOperationHost::ShowMessage(const std::string& text) {
    if (Abandoned()) return;
    RunOnGuiThread([&] {
        if (!Abandoned()) owner_.ShowWorkerMessage(QString::fromStdString(text));
    });
}

void TGuiOperationHost::Finish(TFilesIterationThread& worker) {
    if (Abandoned()) return;
    RunOnGuiThread([&] {
        if (!Abandoned()) owner_.FinishRun(worker);
    });
}

void TGuiOperationHost::Release() {
    if (QThread::currentThread() == thread()) {
        owner_.ReleaseRun();
    } else {
        HandOver(this);
        QMetaObject::invokeMethod(this, [this] {
            TakeOver(this);
            owner_.ReleaseRun();
        }, Qt::QueuedConnection);
    }
}

void TGuiOperationHost::PumpPendingCalls() { QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); }

}  // namespace vantrel
