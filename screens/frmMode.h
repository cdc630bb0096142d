#pragma once

#include "runtime/forms/Form.h"

// The choice of development mode, which with the model decides the next screen.
class frmMode : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void cmdOrganic_Click();
    void cmdSemidetached_Click();
    void cmdEmbedded_Click();
    void cmdBack_Click();

protected:
    void Wire() override;
    void Form_Load() override;

private:
    void ChooseMode(std::int16_t mode);
};
