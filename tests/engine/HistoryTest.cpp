#include "engine/History.h"
#include "engine/Names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <optional>
#include <sstream>
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
// actual = 2.4 * kloc^1.05, rounded to the nearest double; the Basic model ignores the factor.
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
    const char *figures;
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
    std::istringstream words(row.figures);
    const std::vector<double> expected{std::istream_iterator<double>(words), {}};
    ASSERT_EQ(figures.size(), expected.size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        EXPECT_NEAR(figures[i], expected[i], row.tolerance * std::max(1.0, std::abs(expected[i])))
            << "figure " << i;
    }
}

constexpr std::int16_t Basic = Models::Basic;
constexpr std::int16_t Intermediate = Models::Intermediate;

const HistoryRow HistoryRows[] = {
    {"CheckBasic", Mixed, Basic, std::nullopt,
     "11 12.195035192257 6.3662292605061 81.818181818182 81.818181818182 11 6 12.410332577362 "
     "9.09722202138 83.333333333333 83.333333333333 6 1 3.1060659487845 3.1060659487845 100 "
     "100 1 4 14.144331425468 10.837087461362 75 75 4"},
    {"CheckIntermediate", Mixed, Intermediate, std::nullopt,
     "11 20.583005590141 16.364817392558 72.727272727273 81.818181818182 11 6 28.954162108822 "
     "25.766159332665 50 66.666666666667 6 1 6.5833274563371 6.5833274563371 100 100 1 4 "
     "11.52619034557 9.5136691078969 100 100 4"},
    {"CoefficientBasic", Mixed, Basic, Fit::Coefficient,
     "1 6 2.6928479725695 1.05 6 13.924641216609 14.47389161816 83.333333333333 100 6 6 "
     "16.683889741002 17.611517103738 83.333333333333 100 6 1 1 3.0961690526615 1.12 1 0 0 "
     "100 100 1 1 3.1060659487845 3.1060659487845 100 100 1 1 4 3.2724215436647 1.2 4 "
     "11.806392132531 10.941982034778 100 100 4 4 15.823716949107 14.279109756535 75 100 4 11 "
     "11.888492348162 13.744561694421 90.909090909091 100 11 11 15.136752017384 "
     "16.712338222856 81.818181818182 100 11"},
    {"BothIntermediate", Mixed, Intermediate, Fit::Both,
     "2 6 3.7644304938001 0.90569944692097 6 5.5574086801025 5.377114984622 100 100 6 6 "
     "9.0107375561601 8.648124433497 100 100 6 3 1 2.8146991387832 1.12 1 0 0 100 100 1 1 "
     "6.5833274563371 6.5833274563371 100 100 1 3 4 2.8815962085389 1.2 4 11.862080856676 "
     "12.705062030177 100 100 4 4 15.8048090104 17.296952810408 100 100 4 11 7.3447977733926 "
     "5.5764817514934 100 100 11 11 11.260635348627 9.5016057875791 100 100 11"},
    {"BothLeavingOneSize", FiveOfOneSize, Basic, Fit::Both,
     "2 6 2.6452424059166 1.0946068139019 6 9.6990933638267 9.1362881719359 100 100 6 6 "
     "13.158547027024 11.431626324127 83.333333333333 100 6 0 0 3 1.12 -1 -1 2 5 "
     "4.3404341353592 1.1317016026159 5 5.3882262054112 6.1504687242268 100 100 5 5 "
     "12.343616027976 9.4595894936106 100 100 5 11 7.7396082918197 6.3319001696331 100 100 11 "
     "11 12.788123845639 10.677218855978 90.909090909091 100 11"},
    {"BothOfOneSize", OneSize, Basic, Fit::Both,
     "0 0 2.4 1.05 -1 -1 4 5 2.7875957980156 1.12 5 18.902719554021 14.544235289284 60 80 5 5 "
     "23.767867198175 17.836920938651 60 60 5 0 0 3.6 1.2 -1 -1 5 18.902719554021 "
     "14.544235289284 60 80 5 5 23.767867198175 17.836920938651 60 60 5"},
    {"BothOnTheBasicEquation", BasicOrganic, Basic, Fit::Both,
     "2 5 2.4 1.05 5 5.8560751486655e-14 5.8070888682649e-14 100 100 5 5 0 0 100 100 5 0 0 3 "
     "1.12 -1 -1 0 0 3.6 1.2 -1 -1 5 5.8560751486655e-14 5.8070888682649e-14 100 100 5 5 0 0 "
     "100 100 5",
     0.5e-4},
};

INSTANTIATE_TEST_SUITE_P(Histories, HistoryFigures, testing::ValuesIn(HistoryRows),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
