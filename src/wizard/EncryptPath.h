#pragma once

#include "wizard/OperationPathes.h"

namespace vantrel {

// Encrypt: choose files, then the algorithm, the password and the delete-after box.
class TEncryptPath : public TOperationPath {
    Q_OBJECT

public:
    explicit TEncryptPath(TWizardController& owner);

    static bool Admit(TWizardController&) { return true; }
    static std::string GetCmdLineParameter() { return "/encrypt"; }
    static void ActivateOnCmdLine(TWizardController& owner);
    static const TOperationPathClass Class;
};

class TEncryptChooseFiles : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override {}
};

class TEncryptSettings : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override;
};

}  // namespace vantrel
