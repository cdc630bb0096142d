#pragma once

#include "Form.h"

// The size in lines of code, and Calculate.
class frmKLOC : public forms::Form {
public:
    void cmdBack_Click();
    void cmdClear_Click();
    void cmdCalculate_Click();

protected:
    forms::Layout LayoutOf() const override;
    void Wire() override;
    void Form_Load() override;
};
