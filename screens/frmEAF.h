#pragma once

#include "engine/CostDrivers.h"
#include "runtime/forms/Form.h"

#include <optional>

// The ratings of the fifteen cost drivers, whose product is the adjustment factor.
class frmEAF : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void OptACAP_Click(std::int16_t Index);
    void optAEXP_Click(std::int16_t Index);
    void optCPLX_Click(std::int16_t Index);
    void optDATA_Click(std::int16_t Index);
    void optLEXP_Click(std::int16_t Index);
    void optMODP_Click(std::int16_t Index);
    void optPCAP_Click(std::int16_t Index);
    void optRELY_Click(std::int16_t Index);
    void optSCED_Click(std::int16_t Index);
    void optSTOR_Click(std::int16_t Index);
    void optTIME_Click(std::int16_t Index);
    void optTOOL_Click(std::int16_t Index);
    void optTURN_Click(std::int16_t Index);
    void optVEXP_Click(std::int16_t Index);
    void optVIRT_Click(std::int16_t Index);
    void cmdContinue_Click();
    void cmdBack_Click();

    // The working multipliers while the screen is loaded.
    const std::optional<engine::DriverMultiplier> &Multipliers() const { return multipliers_; }

protected:
    void Wire() override;
    void Form_Load() override;
    void DiscardWorkingValues() override { multipliers_.reset(); }

private:
    void Rate(engine::CostDriver driver, std::int16_t index);

    std::optional<engine::DriverMultiplier> multipliers_;
};
