#pragma once

#include "Form.h"

// The main menu: the choice of model, and Exit.
class frmMain : public forms::Form {
public:
    void cmdBasic_Click();
    void cmdIntermediate_Click();
    void cmdAdvanced_Click();
    void cmdExit_Click();

protected:
    forms::Layout LayoutOf() const override;
    void Wire() override;
    void Form_Load() override;

private:
    void ChooseModel(std::int16_t model);
};
