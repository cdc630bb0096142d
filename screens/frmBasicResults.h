#pragma once

#include "engine/Estimate.h"
#include "runtime/forms/Form.h"

#include <QPointer>

#include <optional>

class QGroupBox;
class QLabel;

// The results of the last calculation, for all three models.
class frmBasicResults : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void cmdMainMenu_Click();
    void cmdExit_Click();

    // Shows the results of the estimate just calculated: loads the screen, or fills an open
    // one again, whose labels would otherwise keep the figures of an earlier estimate.
    void ShowEstimate(const engine::Estimate &estimate);

protected:
    void Wire() override;
    void Form_Load() override;
    void DiscardWorkingValues() override { estimate_.reset(); }

private:
    // Fills the captions and figures from the current results.
    void Refresh();
    // Explains how each figure was obtained.
    void Describe(const QString &effort, const QString &tdev, const QString &avg);

    QPointer<QGroupBox> Frame1_;
    QPointer<QLabel> Label7_, Label8_; // the model and the mode
    QPointer<QLabel> lblEffort_, lblTDEV_, lblAvg_;
    // What the figures were calculated from, for their explanations.
    std::optional<engine::Estimate> estimate_;
};
