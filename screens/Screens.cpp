#include "screens/Screens.h"

#include "engine/Module1.h"
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

void ShowModelStep(forms::Form &basic) {
    switch (Module1::Model) {
    case Models::Basic:
        basic.Show();
        break;
    case Models::Intermediate:
        forms::Show<frmEAF>();
        break;
    case Models::Advanced:
        ShowPhaseScreen(Module1::Mode);
        break;
    default:
        break;
    }
}
