#include "wizard/GuiOperationHost.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include "platform/CodePage.h"
#include "ui/MessageBox.h"
#include "wizard/WizardController.h"
#include "wizard/WizardWindow.h"

namespace vantrel {

namespace {

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
        TCallDepth depth(callDepth_);
        fn();
    };
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
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
    if (QThread::currentThread() == thread())
        owner_.ReleaseRun();
    else
        QMetaObject::invokeMethod(this, [this] { owner_.ReleaseRun(); }, Qt::QueuedConnection);
}

void TGuiOperationHost::PumpPendingCalls() { QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); }

}  // namespace vantrel
