#pragma once

#include "runtime/forms/Form.h"

// The size in lines of code, and Calculate.
class frmKLOC : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void cmdBack_Click();
    void cmdClear_Click();
    void cmdCalculate_Click();

protected:
    void Wire() override;
    void Form_Load() override;
};
