#pragma once

#include <QString>

#include <vector>

#include "operations/FilesIterationThread.h"

class QWidget;

namespace vantrel {

// What the wizards, the progress window and the worker's host need of the main window. The
// main window implements it; the wizards reach every other control by its component name
// (objectName) through Window()->findChild.
class TWizardWindow {
public:
    virtual ~TWizardWindow() = default;

    virtual QWidget* Window() = 0;
    virtual void ShowPage(int index) = 0;
    virtual int PageIndex() const = 0;
    // The window's own hint: the current step's title, shown in the status bar when the
    // pointer rests on nothing with a hint of its own.
    virtual void SetStepHint(const QString& hint) = 0;

    // The files tree.
    virtual void BuildDrivesTree() = 0;
    virtual void SetDecryptFilter(bool on) = 0;
    virtual int CheckedCount() const = 0;
    // A copy of the root nodes for a worker run, taken on the GUI thread.
    virtual std::vector<TTreeNodeSnapshot> TreeSnapshot() const = 0;

    // The main-password loop: true once the right password was given (or a first one set),
    // false when the user cancels.
    virtual bool CheckMainPassword() = 0;
    // The per-file password dialog; true with the typed text when closed with OK.
    virtual bool AskOperationPassword(const QString& fileName, QString& password) = 0;
};

// What the main window needs of the wizard layer: the operation list, the Next, Back and
// Exit-as-Cancel buttons and the window's first activation act on the current wizard.
class TWizardDriver {
public:
    virtual ~TWizardDriver() = default;

    // A click on operation list entry 0 to 4 (encrypt, decrypt, shred, hide, show).
    virtual void StartWizard(int position) = 0;
    virtual void Next() = 0;
    virtual void Back() = 0;
    // The Exit button while it reads "&Cancel": the current wizard ends.
    virtual void CancelWizard() = 0;
    // First activation, after the main-password step: the wizards the command line asks for.
    virtual void ActivateFromCommandLine() = 0;
    // True while a worker run is active; nothing may start a second one.
    virtual bool IsRunActive() const = 0;
    // The window is closing: cancel a run, answer a pending dialog with Cancel, wait for the
    // worker. Returns when no worker is left.
    virtual void PrepareQuit() = 0;
};

}  // namespace vantrel
