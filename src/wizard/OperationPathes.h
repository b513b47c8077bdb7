#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class TOperationPath;
class TWizardController;
class TWizardWindow;

// The text of a message constant, for a window.
QString ConstantText(std::string_view name);

// One page of a wizard. A step shows its page in the Next of the step before it (the first
// step's page is shown by the wizard's constructor) and restores the page before it in its
// own Back. Next of the last step starts the operation.
class TOperationStep {
public:
    explicit TOperationStep(TOperationPath& path) : Path(path) {}
    virtual ~TOperationStep() = default;
    TOperationStep(const TOperationStep&) = delete;
    TOperationStep& operator=(const TOperationStep&) = delete;

    virtual void Next() = 0;
    virtual void Back() = 0;

protected:
    TOperationPath& Path;
};

// A wizard: its steps and the position in them. The concrete wizards add their steps and
// texts; the destructor returns the main window to its main page.
class TOperationPath : public QObject {
    Q_OBJECT

public:
    ~TOperationPath() override;

    // Runs the current step's Next; the position advances after every step but the last,
    // whose Next runs again on every further press.
    void Next();
    // Runs the current step's Back; on the first step the wizard then ends (it is destroyed
    // and CurrentPath cleared), so the caller must not touch it afterwards.
    void Back();

    TWizardController& Owner() const { return owner_; }
    TWizardWindow& Window() const;

    int CurrentStep = 0;
    std::vector<std::unique_ptr<TOperationStep>> Steps;

    // Services the steps share: a control of the main window by its component name, the
    // window's step hint, captions, pages and the operation picture.
    template <class T>
    T* Control(const char* name) const {
        return MainWidget()->findChild<T*>(QString::fromLatin1(name));
    }
    void SetStepHint(std::string_view constant);
    void SetNextCaption(std::string_view constant);
    void SetLabelText(const char* label, std::string_view constant);
    void ShowPage(int index);
    // Copies the picture of the named control into the choose-files and finish pages.
    void CopyPicture(const char* imageControl);

protected:
    // The base constructor: wizard mode, the files tree rebuilt, the choose-files page.
    explicit TOperationPath(TWizardController& owner);
    // For the wizards that set the window up themselves, after asking the main password.
    struct TOwnWindowSetup {};
    TOperationPath(TWizardController& owner, TOwnWindowSetup);

    // Next and Back visible, the Exit button captioned "&Cancel".
    void EnterWizardMode();

private:
    QWidget* MainWidget() const;

    TWizardController& owner_;
};

// A wizard kind as the command line knows it: its switch and how the command line starts it.
struct TOperationPathClass {
    const char* ClassName;
    std::string (*GetCmdLineParameter)();
    void (*ActivateOnCmdLine)(TWizardController& owner);
};

// The wizard kinds that the command line can start, in registration order.
void CreatePathRegistry();
void FreePathRegistry();
void RegisterPath(const TOperationPathClass& pathClass);
// The first registered kind whose switch equals the text exactly (case included), or null.
const TOperationPathClass* FindPathByParameter(std::string_view text);

// The wizard in progress, or null. A wizard's constructor sets up the window, so whoever starts
// one ends the current wizard before building the new one; SetCurrentPath then takes it over.
// EndCurrentPath destroys the current wizard (back to the main page) and clears it.
TOperationPath* CurrentPath();
void SetCurrentPath(std::unique_ptr<TOperationPath> path);
void EndCurrentPath();
// Clears CurrentPath without ending the wizard, when the window it would return to is gone
// already (the end of the process).
void AbandonCurrentPath();

// Starts a wizard of kind T and makes it current: T::Admit may refuse (the main password),
// otherwise the wizard current before ends first. The new wizard, or null when refused.
template <class T>
T* StartPath(TWizardController& owner) {
    if (!T::Admit(owner)) return nullptr;
    EndCurrentPath();
    auto path = std::make_unique<T>(owner);
    T* started = path.get();
    SetCurrentPath(std::move(path));
    return started;
}

}  // namespace vantrel
