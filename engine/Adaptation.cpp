#include "engine/Adaptation.h"

namespace engine {

double AdjustmentFactor(const Adaptation &adaptation) {
    return 0.4 * adaptation.dm + 0.3 * adaptation.cm + 0.3 * adaptation.im;
}

double AdjustmentMultiplier(const Adaptation &adaptation) {
    const double aaf = AdjustmentFactor(adaptation);
    const double understanding = adaptation.su * adaptation.unfm;
    if (aaf <= 50.0) {
        return (adaptation.aa + aaf * (1.0 + 0.02 * understanding)) / 100.0;
    }
    return (adaptation.aa + aaf + understanding) / 100.0;
}

double EquivalentLines(const Adaptation &adaptation, bool cocomo2) {
    if (cocomo2) {
        return adaptation.lines * AdjustmentMultiplier(adaptation);
    }
    return adaptation.lines * AdjustmentFactor(adaptation) / 100.0;
}

} // namespace engine
