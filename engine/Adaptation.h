#pragma once

// Code adapted from existing code, counted as the new lines it is worth.
namespace engine {

// The adapted lines; the percentages of their design and code modified and of the integration
// and test effort they need, each 0 to 100; for COCOMO II also the assessment and
// assimilation (0 to 8), the software understanding (10 to 50) and the programmers'
// unfamiliarity with the code (0 to 1).
struct Adaptation {
    double lines = 0.0;
    double dm = 0.0;
    double cm = 0.0;
    double im = 0.0;
    double aa = 0.0;
    double su = 30.0;
    double unfm = 0.4;
};

// The adaptation adjustment factor, in percent: AAF = 0.4 DM + 0.3 CM + 0.3 IM.
double AdjustmentFactor(const Adaptation &adaptation);

// COCOMO II's adaptation adjustment multiplier: (AA + AAF (1 + 0.02 SU UNFM)) / 100 for an
// AAF up to 50, else (AA + AAF + SU UNFM) / 100.
double AdjustmentMultiplier(const Adaptation &adaptation);

// The equivalent new lines, fraction kept: COCOMO 81's lines x AAF / 100, COCOMO II's
// lines x AAM.
double EquivalentLines(const Adaptation &adaptation, bool cocomo2);

} // namespace engine
