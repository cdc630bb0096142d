#pragma once

#include "runtime/forms/Form.h"

// The main menu: the choice of model, and Exit.
class frmMain : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void cmdBasic_Click();
    void cmdIntermediate_Click();
    void cmdAdvanced_Click();
    void cmdExit_Click();

protected:
    void Wire() override;
    void Form_Load() override;

private:
    void ChooseModel(std::int16_t model);
};
