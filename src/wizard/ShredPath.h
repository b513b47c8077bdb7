#pragma once

#include "wizard/OperationPathes.h"

namespace vantrel {

// Shred: choose files, then the wiping scheme.
class TShredPath : public TOperationPath {
    Q_OBJECT

public:
    explicit TShredPath(TWizardController& owner);

    static bool Admit(TWizardController&) { return true; }
    static std::string GetCmdLineParameter() { return "/shred"; }
    static void ActivateOnCmdLine(TWizardController& owner);
    static const TOperationPathClass Class;
};

class TShredChooseFiles : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override {}
};

class TShredSettings : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override;
};

}  // namespace vantrel
