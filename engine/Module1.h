#pragma once

#include <cstdint>

// The values that pass from one screen to the next. They exist once per run, start
// at zero and are only ever overwritten; the screens read and write them directly.
namespace Module1 {

extern std::int16_t Model; // 1 Basic, 2 Intermediate, 3 Advanced
extern std::int16_t Mode;  // 1 Organic, 2 Semidetached, 3 Embedded
extern double Effort;      // staff-months
extern double TDEV;        // months
extern double AvgStaffing; // people
extern double EAF;         // cost-driver product (Intermediate) or phase sum (Advanced)

} // namespace Module1
