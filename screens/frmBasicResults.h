#pragma once

#include "runtime/forms/Form.h"

#include <QPointer>

class QGroupBox;
class QLabel;

// The results of the last calculation, for all three models.
class frmBasicResults : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void cmdMainMenu_Click();
    void cmdExit_Click();

    // Fills the captions and figures again from the current results.
    void Refresh();

protected:
    void Wire() override;
    void Form_Load() override;

private:
    // Explains how each figure was obtained.
    void Describe(const QString &effort, const QString &tdev, const QString &avg);

    QPointer<QGroupBox> Frame1_;
    QPointer<QLabel> Label7_, Label8_; // the model and the mode
    QPointer<QLabel> lblEffort_, lblTDEV_, lblAvg_;
};
