#pragma once

#include "wizard/OperationPathes.h"

namespace vantrel {

// Whether the last hide wizard was refused because its main-password prompt was cancelled.
extern bool HideRefused;

// Hide: the main password first, then one step that chooses files, folders or drives.
class THidePath : public TOperationPath {
    Q_OBJECT

public:
    explicit THidePath(TWizardController& owner);
    ~THidePath() override;

    // Asks for the main password; false (and HideRefused set) when the user cancels.
    static bool Admit(TWizardController& owner);
    static std::string GetCmdLineParameter() { return "/hide"; }
    static void ActivateOnCmdLine(TWizardController& owner);
    static const TOperationPathClass Class;
};

class THideChooseFiles : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override {}
};

}  // namespace vantrel
