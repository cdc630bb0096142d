#pragma once

// The published COCOMO 81 figures, typed in once for every test from the published tables.
// They stay apart from the engine's own tables on purpose: the tests hold the engine, the
// screens and the wizard's model to these, so a mistyped figure in the program shows.
namespace published {

inline constexpr int DriverCount = 15;
inline constexpr int RatingCount = 6;

// The effort multipliers by cost driver, in the screen's order (ACAP, AEXP, CPLX, DATA, LEXP,
// MODP, PCAP, RELY, SCED, STOR, TIME, TOOL, TURN, VEXP, VIRT), and rating (Very Low, Low,
// Nominal, High, Very High, Extra High). A step a driver does not offer holds 1.00.
inline constexpr double Multipliers[DriverCount][RatingCount] = {
    {1.46, 1.19, 1.00, 0.86, 0.71, 1.00}, {1.29, 1.13, 1.00, 0.91, 0.82, 1.00},
    {0.70, 0.85, 1.00, 1.15, 1.30, 1.65}, {1.00, 0.94, 1.00, 1.08, 1.16, 1.00},
    {1.14, 1.07, 1.00, 0.95, 1.00, 1.00}, {1.24, 1.10, 1.00, 0.91, 0.82, 1.00},
    {1.42, 1.17, 1.00, 0.86, 0.70, 1.00}, {0.75, 0.88, 1.00, 1.15, 1.40, 1.00},
    {1.23, 1.08, 1.00, 1.04, 1.10, 1.00}, {1.00, 1.00, 1.00, 1.06, 1.21, 1.56},
    {1.00, 1.00, 1.00, 1.11, 1.30, 1.66}, {1.24, 1.10, 1.00, 0.91, 0.83, 1.00},
    {1.00, 0.87, 1.00, 1.07, 1.15, 1.00}, {1.21, 1.10, 1.00, 0.90, 1.00, 1.00},
    {1.00, 0.87, 1.00, 1.15, 1.30, 1.00},
};

// The steps each driver offers; DATA offers Very Low although it holds 1.00.
inline constexpr bool Offered[DriverCount][RatingCount] = {
    {1, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 0},
    {1, 1, 1, 1, 0, 0}, {1, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 1, 0},
    {1, 1, 1, 1, 1, 0}, {0, 0, 1, 1, 1, 1}, {0, 0, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 0},
    {0, 1, 1, 1, 1, 0}, {1, 1, 1, 1, 0, 0}, {0, 1, 1, 1, 1, 0},
};

inline constexpr int ModeCount = 3;
inline constexpr int PhaseCount = 6;
inline constexpr int SizeColumnCount = 4;

// The distribution of effort by mode (Organic, Semidetached, Embedded), phase (Requirements,
// Product Design, Detailed Design, Code and Unit Test, Integration and Test, Maintenance) and
// size column (2, 8, 32, 128 KDSI). Maintenance counts 1.0 in every column.
inline constexpr double Fractions[ModeCount][PhaseCount][SizeColumnCount] = {
    {{0.06, 0.06, 0.06, 0.06},
     {0.16, 0.16, 0.16, 0.16},
     {0.26, 0.25, 0.24, 0.23},
     {0.42, 0.40, 0.38, 0.36},
     {0.16, 0.19, 0.22, 0.25},
     {1.0, 1.0, 1.0, 1.0}},
    {{0.07, 0.07, 0.07, 0.07},
     {0.17, 0.17, 0.17, 0.17},
     {0.27, 0.26, 0.25, 0.24},
     {0.37, 0.35, 0.33, 0.31},
     {0.19, 0.22, 0.25, 0.28},
     {1.0, 1.0, 1.0, 1.0}},
    {{0.08, 0.08, 0.08, 0.08},
     {0.18, 0.18, 0.18, 0.18},
     {0.28, 0.27, 0.26, 0.25},
     {0.32, 0.30, 0.28, 0.26},
     {0.22, 0.25, 0.28, 0.31},
     {1.0, 1.0, 1.0, 1.0}},
};

// Effort = a x KLOC^b (x EAF outside the Basic Model), TDEV = c x Effort^d.
struct Equation {
    double a, b, c, d;
};
// By mode: the Basic Model's, and the one the Intermediate and Advanced Models share.
inline constexpr Equation Basic[ModeCount] = {
    {2.4, 1.05, 2.5, 0.38}, {3.0, 1.12, 2.5, 0.35}, {3.6, 1.2, 2.5, 0.32}};
inline constexpr Equation Adjusted[ModeCount] = {
    {3.2, 1.05, 2.5, 0.38}, {3.0, 1.12, 2.5, 0.35}, {2.8, 1.2, 2.5, 0.32}};

// The equation of a model (1 Basic, 2 Intermediate, 3 Advanced) and mode (1 to 3).
inline constexpr const Equation &EquationOf(int model, int mode) {
    return (model == 1 ? Basic : Adjusted)[mode - 1];
}

} // namespace published
