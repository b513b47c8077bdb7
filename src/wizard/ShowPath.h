#pragma once

#include "wizard/OperationPathes.h"

namespace vantrel {

// Show: the main password first, then the list of hidden items to tick. Runs on the GUI
// thread, without a worker; the command line cannot start it.
class TShowPath : public TOperationPath {
    Q_OBJECT

public:
    explicit TShowPath(TWizardController& owner);

    static bool Admit(TWizardController& owner);
    static std::string GetCmdLineParameter() { return "/show"; }
    static void ActivateOnCmdLine(TWizardController&) {}
};

class TShowListOfHidden : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override {}
};

// Fills the list with the store's items, row i being item i, all unticked.
void FillHiddenFilesList(TOperationPath& path);

}  // namespace vantrel
