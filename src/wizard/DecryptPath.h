#pragma once

#include "wizard/OperationPathes.h"

namespace vantrel {

// Decrypt: choose encrypted files (the tree lists only those while the wizard lives), then
// the password and the delete-after box.
class TDecryptPath : public TOperationPath {
    Q_OBJECT

public:
    explicit TDecryptPath(TWizardController& owner);
    ~TDecryptPath() override;

    static bool Admit(TWizardController&) { return true; }
    static std::string GetCmdLineParameter() { return "/decrypt"; }
    static void ActivateOnCmdLine(TWizardController& owner);
    static const TOperationPathClass Class;
};

class TDecryptChooseFiles : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override;
};

class TDecryptSettings : public TOperationStep {
public:
    using TOperationStep::TOperationStep;
    void Next() override;
    void Back() override;
};

}  // namespace vantrel
