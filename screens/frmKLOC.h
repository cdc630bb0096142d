#pragma once

#include "runtime/forms/Form.h"

#include <QPointer>

class QLineEdit;
class QPushButton;

// The size in lines of code, and Calculate.
class frmKLOC : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void cmdBack_Click();
    void cmdClear_Click();
    void cmdCalculate_Click();

    // The size as typed in the box, while the screen is loaded.
    QString SizeText() const;

protected:
    void Wire() override;
    void Form_Load() override;

private:
    QPointer<QLineEdit> txtKLOC_;
    QPointer<QPushButton> cmdCalculate_;
};
