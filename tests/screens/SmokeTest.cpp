#include "tests/screens/ScreenTest.h"

#include "screens/frmBasicResults.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"

#include <QLabel>

using forms::Get;

TEST_F(ScreenTest, BasicEmbeddedRunsFromEndToEnd) {
    Start();
    Click(Get<frmMain>(), "cmdBasic");
    Click(Get<frmMode>(), "cmdEmbedded");
    Type(Get<frmKLOC>(), "txtKLOC", "32000");
    Click(Get<frmKLOC>(), "cmdCalculate");
    frmBasicResults &results = Loaded<frmBasicResults>();
    EXPECT_EQ(results.Caption(), "Basic Effort Results");
    EXPECT_EQ(results.Control<QLabel>("lblEffort")->text(), "230.40");
    EXPECT_EQ(results.Control<QLabel>("lblTDEV")->text(), "14.25");
    EXPECT_EQ(results.Control<QLabel>("lblAvg")->text(), "16.16");
    EXPECT_EQ(forms::FrontForm(), &results);
}
