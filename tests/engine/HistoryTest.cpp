#include "engine/History.h"
#include "engine/Names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

using engine::history::Fit;
using engine::history::Project;

// Six organic projects (both coefficients fit), one semi-detached (a mode's only project,
// whose leave-one-out estimate is the published one) and four embedded (too few for both).
const std::vector<Project> Mixed{
    {1, 2.0, 7.5, 1.0},    {1, 5.5, 14.0, 0.85},    {1, 12.0, 40.0, 1.17}, {1, 20.0, 55.0, 0.92},
    {1, 33.0, 110.0, 1.3}, {1, 60.0, 170.0, 1.05},  {2, 45.0, 220.0, 1.1}, {3, 120.0, 1100.0, 1.4},
    {3, 80.0, 600.0, 1.2}, {3, 250.0, 2900.0, 1.1}, {3, 15.0, 70.0, 0.9}};
// Left out, the largest organic project leaves five of one size; each embedded one leaves four.
const std::vector<Project> FiveOfOneSize{
    {1, 10.0, 30.0, 1.0},  {1, 10.0, 36.0, 1.0},    {1, 10.0, 27.0, 1.0},   {1, 10.0, 33.0, 1.0},
    {1, 10.0, 40.0, 1.0},  {1, 40.0, 150.0, 1.0},   {3, 8.0, 45.0, 1.0},    {3, 30.0, 210.0, 1.0},
    {3, 70.0, 500.0, 1.0}, {3, 150.0, 1400.0, 1.0}, {3, 300.0, 2600.0, 1.0}};
const std::vector<Project> OneSize{{2, 25.0, 90.0, 1.0},
                                   {2, 25.0, 120.0, 1.0},
                                   {2, 25.0, 100.0, 1.0},
                                   {2, 25.0, 75.0, 1.0},
                                   {2, 25.0, 140.0, 1.0}};
// actual = 2.4 * kloc^1.05, rounded to the nearest double.
const std::vector<Project> BasicOrganic{{1, 2.0, 4.969271634438612, 9.0},
                                        {1, 8.0, 21.303733863702625, 9.0},
                                        {1, 32.0, 91.33110643220898, 9.0},
                                        {1, 128.0, 391.5450247124774, 9.0},
                                        {1, 512.0, 1678.5902674998017, 9.0}};

// Figures as flat lists: an accuracy as projects, MMRE, MdMRE, PRED(25), PRED(30), within
// a factor of two, or -1 where there is none; a mode's calibration as how, projects, a, b,
// then its fitted and its leave-one-out accuracy.
void Add(std::vector<double> &figures, const std::optional<engine::history::Accuracy> &a) {
    if (!a) {
        figures.push_back(-1.0);
        return;
    }
    figures.insert(figures.end(), {static_cast<double>(a->projects), a->mmre, a->mdmre, a->pred25,
                                   a->pred30, static_cast<double>(a->withinFactorTwo)});
}

struct HistoryRow {
    const char *name;
    const std::vector<Project> &history;
    std::int16_t model;
    std::optional<Fit> fit; // none: the check with the published coefficients
    std::vector<double> figures;
    double tolerance = 1e-12; // relative
    friend void PrintTo(const HistoryRow &row, std::ostream *os) { *os << row.name; }
};

class HistoryFigures : public testing::TestWithParam<HistoryRow> {};

TEST_P(HistoryFigures, MatchTheFormulas) {
    const HistoryRow &row = GetParam();
    std::vector<double> figures;
    if (!row.fit) {
        const auto check = engine::history::CheckHistory(row.history, row.model);
        Add(figures, check.all);
        for (const auto &mode : check.modes) {
            Add(figures, mode);
        }
    } else {
        const auto calibration = engine::history::Calibrate(row.history, row.model, *row.fit);
        for (const auto &mode : calibration.modes) {
            figures.insert(figures.end(), {static_cast<double>(mode.how),
                                           static_cast<double>(mode.projects), mode.a, mode.b});
            Add(figures, mode.fitted);
            Add(figures, mode.leaveOneOut);
        }
        Add(figures, calibration.all);
        Add(figures, calibration.allLeaveOneOut);
    }
    ASSERT_EQ(figures.size(), row.figures.size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        EXPECT_NEAR(figures[i], row.figures[i],
                    row.tolerance * std::max(1.0, std::abs(row.figures[i])))
            << "figure " << i;
    }
}

constexpr std::int16_t Basic = Models::Basic;
constexpr std::int16_t Intermediate = Models::Intermediate;

const HistoryRow HistoryRows[] = {
    {"CheckBasic",
     Mixed,
     Basic,
     std::nullopt,
     {11.0,
      12.195035192256855,
      6.366229260506112,
      81.81818181818181,
      81.81818181818181,
      11.0,
      6.0,
      12.410332577361537,
      9.097222021380036,
      83.33333333333333,
      83.33333333333333,
      6.0,
      1.0,
      3.1060659487844653,
      3.1060659487844653,
      100.0,
      100.0,
      1.0,
      4.0,
      14.144331425467929,
      10.837087461361746,
      75.0,
      75.0,
      4.0}},
    {"CheckIntermediate",
     Mixed,
     Intermediate,
     std::nullopt,
     {11.0,
      20.583005590141102,
      16.364817392558376,
      72.72727272727273,
      81.81818181818181,
      11.0,
      6.0,
      28.954162108822377,
      25.766159332664568,
      50.0,
      66.66666666666667,
      6.0,
      1.0,
      6.583327456337093,
      6.583327456337093,
      100.0,
      100.0,
      1.0,
      4.0,
      11.526190345570193,
      9.513669107896906,
      100.0,
      100.0,
      4.0}},
    {"CoefficientBasic",
     Mixed,
     Basic,
     Fit::Coefficient,
     {1.0,
      6.0,
      2.69284797256946,
      1.05,
      6.0,
      13.924641216608634,
      14.473891618160357,
      83.33333333333333,
      100.0,
      6.0,
      6.0,
      16.68388974100228,
      17.611517103737608,
      83.33333333333333,
      100.0,
      6.0,
      1.0,
      1.0,
      3.0961690526615224,
      1.12,
      1.0,
      0.0,
      0.0,
      100.0,
      100.0,
      1.0,
      1.0,
      3.1060659487844653,
      3.1060659487844653,
      100.0,
      100.0,
      1.0,
      1.0,
      4.0,
      3.2724215436647075,
      1.2,
      4.0,
      11.806392132531446,
      10.9419820347783,
      100.0,
      100.0,
      4.0,
      4.0,
      15.823716949107048,
      14.27910975653467,
      75.0,
      100.0,
      4.0,
      11.0,
      11.8884923481616,
      13.744561694421357,
      90.9090909090909,
      100.0,
      11.0,
      11.0,
      15.136752017384213,
      16.712338222856403,
      81.81818181818181,
      100.0,
      11.0}},
    {"BothIntermediate",
     Mixed,
     Intermediate,
     Fit::Both,
     {2.0,
      6.0,
      3.764430493800051,
      0.9056994469209685,
      6.0,
      5.557408680102459,
      5.377114984621969,
      100.0,
      100.0,
      6.0,
      6.0,
      9.010737556160073,
      8.648124433496971,
      100.0,
      100.0,
      6.0,
      3.0,
      1.0,
      2.814699138783202,
      1.12,
      1.0,
      0.0,
      0.0,
      100.0,
      100.0,
      1.0,
      1.0,
      6.583327456337093,
      6.583327456337093,
      100.0,
      100.0,
      1.0,
      3.0,
      4.0,
      2.88159620853887,
      1.2,
      4.0,
      11.862080856675853,
      12.7050620301772,
      100.0,
      100.0,
      4.0,
      4.0,
      15.80480901039969,
      17.296952810407564,
      100.0,
      100.0,
      4.0,
      11.0,
      7.3447977733925605,
      5.576481751493429,
      100.0,
      100.0,
      11.0,
      11.0,
      11.260635348626936,
      9.501605787579141,
      100.0,
      100.0,
      11.0}},
    {"BothLeavingOneSize",
     FiveOfOneSize,
     Basic,
     Fit::Both,
     {2.0,
      6.0,
      2.6452424059165724,
      1.094606813901929,
      6.0,
      9.69909336382667,
      9.136288171935899,
      100.0,
      100.0,
      6.0,
      6.0,
      13.15854702702436,
      11.431626324127333,
      83.33333333333333,
      100.0,
      6.0,
      0.0,
      0.0,
      3.0,
      1.12,
      -1.0,
      -1.0,
      2.0,
      5.0,
      4.340434135359221,
      1.1317016026158773,
      5.0,
      5.388226205411241,
      6.150468724226847,
      100.0,
      100.0,
      5.0,
      5.0,
      12.343616027975605,
      9.459589493610633,
      100.0,
      100.0,
      5.0,
      11.0,
      7.739608291819658,
      6.331900169633127,
      100.0,
      100.0,
      11.0,
      11.0,
      12.788123845638562,
      10.677218855978193,
      90.9090909090909,
      100.0,
      11.0}},
    {"BothOfOneSize",
     OneSize,
     Basic,
     Fit::Both,
     {0.0,
      0.0,
      2.4,
      1.05,
      -1.0,
      -1.0,
      4.0,
      5.0,
      2.787595798015603,
      1.12,
      5.0,
      18.902719554021107,
      14.544235289284183,
      60.0,
      80.0,
      5.0,
      5.0,
      23.767867198175033,
      17.83692093865079,
      60.0,
      60.0,
      5.0,
      0.0,
      0.0,
      3.6,
      1.2,
      -1.0,
      -1.0,
      5.0,
      18.902719554021107,
      14.544235289284183,
      60.0,
      80.0,
      5.0,
      5.0,
      23.767867198175033,
      17.83692093865079,
      60.0,
      60.0,
      5.0}},
    {"BothOnTheBasicEquation",
     BasicOrganic,
     Basic,
     Fit::Both,
     {2.0,   5.0, 2.4, 1.05,  5.0,   0.0,  0.0,  100.0, 100.0, 5.0,   5.0,   0.0, 0.0,  100.0,
      100.0, 5.0, 0.0, 0.0,   3.0,   1.12, -1.0, -1.0,  0.0,   0.0,   3.6,   1.2, -1.0, -1.0,
      5.0,   0.0, 0.0, 100.0, 100.0, 5.0,  5.0,  0.0,   0.0,   100.0, 100.0, 5.0},
     0.5e-4},
};

INSTANTIATE_TEST_SUITE_P(Histories, HistoryFigures, testing::ValuesIn(HistoryRows),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
