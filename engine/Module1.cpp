#include "engine/Module1.h"

namespace Module1 {

std::int16_t Model = 0;
std::int16_t Mode = 0;
double Effort = 0.0;
double TDEV = 0.0;
double AvgStaffing = 0.0;
double EAF = 0.0;

} // namespace Module1
