#include "screens/Screens.h"

#include "engine/Module1.h"
#include "engine/Names.h"
#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"
#include "screens/frmPhase.h"

namespace {

template <class F> forms::Form &Instance() {
    return forms::Get<F>();
}

// The phase screen of a mode (1 Organic, 2 Semidetached, 3 Embedded); any other mode shows
// nothing.
void ShowPhaseScreen(std::int16_t mode) {
    switch (mode) {
    case Modes::Organic:
        ShowScreen(ScreenName::frmPhaseOrg);
        break;
    case Modes::Semidetached:
        ShowScreen(ScreenName::frmPhaseSemi);
        break;
    case Modes::Embedded:
        ShowScreen(ScreenName::frmPhaseEmb);
        break;
    default:
        break;
    }
}

} // namespace

const std::array<Screen, 8> AllScreens{{
    {"frmMain", Instance<frmMain>},
    {"frmMode", Instance<frmMode>},
    {"frmEAF", Instance<frmEAF>},
    {"frmPhaseOrg", Instance<frmPhaseOrg>},
    {"frmPhaseSemi", Instance<frmPhaseSemi>},
    {"frmPhaseEmb", Instance<frmPhaseEmb>},
    {"frmKLOC", Instance<frmKLOC>},
    {"frmBasicResults", Instance<frmBasicResults>},
}};

forms::Form &TheScreen(ScreenName name) {
    return AllScreens[static_cast<std::size_t>(name)].instance();
}

void ShowScreen(ScreenName name) {
    TheScreen(name).Show();
}

void ShowResults(const engine::Estimate &estimate) {
    forms::Get<frmBasicResults>().ShowEstimate(estimate);
}

void ShowModelStep(forms::Form &basic) {
    switch (Module1::Model) {
    case Models::Basic:
        basic.Show();
        break;
    case Models::Intermediate:
        ShowScreen(ScreenName::frmEAF);
        break;
    case Models::Advanced:
        ShowPhaseScreen(Module1::Mode);
        break;
    default:
        break;
    }
}
