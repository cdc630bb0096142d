#pragma once

#include "engine/Module1.h"
#include "engine/Names.h"
#include "engine/PhaseDistribution.h"
#include "runtime/forms/Form.h"

#include <optional>

// A phase-distribution screen: one size column per phase, whose fractions add up to the
// phase factor. The three screens differ only in the mode's table they carry.
class frmPhase : public forms::Form {
public:
    forms::Layout LayoutOf() const override;

    void optRQ_Click(std::int16_t Index);
    void optPD_Click(std::int16_t Index);
    void optDD_Click(std::int16_t Index);
    void optCT_Click(std::int16_t Index);
    void optIT_Click(std::int16_t Index);
    void optMN_Click(std::int16_t Index);
    void cmdContinue_Click();
    void cmdBack_Click();

    // The working fractions while the screen is loaded.
    const std::optional<engine::PhaseEffort> &Fractions() const { return efforts_; }

protected:
    // mode: the development mode whose table the screen carries, and its name as the mode
    // screen gives it.
    frmPhase(std::int16_t mode, const char *name)
        : table_(engine::PhaseTableOf(mode))
        , mode_(name) {}

    void Wire() override;
    void Form_Load() override;
    void DiscardWorkingValues() override { efforts_.reset(); }

private:
    void Choose(engine::Phase phase, std::int16_t column);

    const engine::PhaseTable &table_;
    const char *mode_;
    std::optional<engine::PhaseEffort> efforts_;
};

class frmPhaseOrg : public frmPhase {
public:
    frmPhaseOrg()
        : frmPhase(Modes::Organic, "Organic") {}
};

class frmPhaseSemi : public frmPhase {
public:
    frmPhaseSemi()
        : frmPhase(Modes::Semidetached, "Semidetached") {}
};

class frmPhaseEmb : public frmPhase {
public:
    frmPhaseEmb()
        : frmPhase(Modes::Embedded, "Embedded") {}
};
