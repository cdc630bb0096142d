#include "engine/History.h"

#include "engine/Estimate.h"
#include "engine/Names.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace engine::history {
namespace {

constexpr std::size_t ModeCount = 3;
// The fewest projects of a mode from which both coefficients are fitted.
constexpr std::size_t FewestForBoth = 5;

std::size_t IndexOf(std::int16_t code) {
    return static_cast<std::size_t>(code - 1);
}

const Coefficients &Published(std::int16_t model, std::int16_t mode) {
    return CoefficientTable[IndexOf(model)][IndexOf(mode)];
}

bool AppliesEaf(std::int16_t model) {
    return model != Models::Basic;
}

// The relative errors of a set of estimates, all kept for the median.
class Errors {
public:
    void Add(double estimate, double actual) {
        errors_.push_back(std::abs(estimate - actual) / actual);
        withinFactorTwo_ += estimate >= 0.5 * actual && estimate <= 2.0 * actual ? 1 : 0;
    }

    Accuracy Result() {
        Accuracy accuracy;
        const std::size_t n = errors_.size();
        accuracy.projects = n;
        accuracy.withinFactorTwo = withinFactorTwo_;
        if (n == 0) {
            return accuracy;
        }
        double sum = 0.0;
        std::size_t within25 = 0;
        std::size_t within30 = 0;
        for (const double error : errors_) {
            sum += error;
            within25 += error <= 0.25 ? 1 : 0;
            within30 += error <= 0.30 ? 1 : 0;
        }
        const auto count = static_cast<double>(n);
        accuracy.mmre = 100.0 * sum / count;
        accuracy.pred25 = 100.0 * static_cast<double>(within25) / count;
        accuracy.pred30 = 100.0 * static_cast<double>(within30) / count;
        const auto middle = errors_.begin() + static_cast<std::ptrdiff_t>(n / 2);
        std::nth_element(errors_.begin(), middle, errors_.end());
        double median = *middle;
        if (n % 2 == 0) {
            median = (*std::max_element(errors_.begin(), middle) + median) / 2.0;
        }
        accuracy.mdmre = 100.0 * median;
        return accuracy;
    }

private:
    std::vector<double> errors_;
    std::size_t withinFactorTwo_ = 0;
};

// A project as the fits see it: x = ln kloc, y = ln(actual / eaf).
struct Point {
    double x;
    double y;
};

Point PointOf(const Project &project, std::int16_t model) {
    const double effort = AppliesEaf(model) ? project.actual / project.eaf : project.actual;
    return {std::log(project.kloc), std::log(effort)};
}

// Some of a mode's projects, by the sums of their points' deviations from the means of the
// whole mode.
struct Part {
    std::size_t count = 0;
    double su = 0.0;
    double sv = 0.0;
    double suu = 0.0;
    double suv = 0.0;
    bool oneSize = false;
};

// The sums of a mode's points, centred on the mode's means of x and y. Summing deviations
// rather than raw values keeps Sxx and Sxy free of the cancellation of sum(x^2) - n mean^2,
// and taking one project's terms out of them (leave-one-out) loses no more than those terms.
// Whether the sizes are all one is found by counting them exactly, since the centred sums of
// equal sizes round to a small number rather than to zero.
class ModeSums {
public:
    ModeSums(std::span<const Project> projects, std::int16_t model, std::int16_t mode)
        : model_(model) {
        double sx = 0.0;
        double sy = 0.0;
        for (const Project &project : projects) {
            if (project.mode != mode) {
                continue;
            }
            const Point point = PointOf(project, model);
            sx += point.x;
            sy += point.y;
            ++whole_.count;
            CountSize(project.kloc);
        }
        if (whole_.count == 0) {
            return;
        }
        mx_ = sx / static_cast<double>(whole_.count);
        my_ = sy / static_cast<double>(whole_.count);
        for (const Project &project : projects) {
            if (project.mode == mode) {
                const Point point = PointOf(project, model);
                const double u = point.x - mx_;
                const double v = point.y - my_;
                whole_.su += u;
                whole_.sv += v;
                whole_.suu += u * u;
                whole_.suv += u * v;
            }
        }
        whole_.oneSize = Sizes() == 1;
    }

    const Part &Whole() const { return whole_; }

    // The mode's projects but this one of them.
    Part Without(const Project &project) const {
        const Point point = PointOf(project, model_);
        const double u = point.x - mx_;
        const double v = point.y - my_;
        const bool onlyOfItsSize = project.kloc == firstSize_ ? firstTimes_ == 1 : otherTimes_ == 1;
        Part part = whole_;
        --part.count;
        part.su -= u;
        part.sv -= v;
        part.suu -= u * u;
        part.suv -= u * v;
        part.oneSize = Sizes() == 1 || (Sizes() == 2 && onlyOfItsSize);
        return part;
    }

    // a and b fitted to the part, by the rules of Calibrate.
    ModeCalibration Calibrated(const Part &part, Fit fit, const Coefficients &published) const {
        ModeCalibration result;
        result.projects = part.count;
        if (part.count == 0) {
            result.a = published.a;
            result.b = published.b;
            return result;
        }
        const auto count = static_cast<double>(part.count);
        const double mx = mx_ + part.su / count;
        const double my = my_ + part.sv / count;
        // With one size, ln kloc does not vary: every slope fits the points equally well, and
        // they tell only the level, the coefficient.
        if (fit == Fit::Both && part.count >= FewestForBoth && !part.oneSize) {
            const double sxx = part.suu - part.su * part.su / count;
            const double sxy = part.suv - part.su * part.sv / count;
            result.how = Fitted::Both;
            result.b = sxy / sxx;
        } else {
            result.how = fit == Fit::Coefficient      ? Fitted::Coefficient
                         : part.count < FewestForBoth ? Fitted::CoefficientFewerThanFive
                                                      : Fitted::CoefficientOneSize;
            result.b = published.b;
        }
        result.a = std::exp(my - result.b * mx);
        return result;
    }

private:
    void CountSize(double kloc) {
        if (firstTimes_ == 0 || kloc == firstSize_) {
            firstSize_ = kloc;
            ++firstTimes_;
        } else if (otherTimes_ == 0 || kloc == otherSize_) {
            otherSize_ = kloc;
            ++otherTimes_;
        } else {
            moreSizes_ = true;
        }
    }

    std::size_t Sizes() const { return moreSizes_ ? 3 : otherTimes_ > 0 ? 2 : 1; }

    std::int16_t model_;
    Part whole_;
    double mx_ = 0.0;
    double my_ = 0.0;
    // The first two sizes met, how often each occurs, and whether there are more.
    double firstSize_ = 0.0;
    double otherSize_ = 0.0;
    std::size_t firstTimes_ = 0;
    std::size_t otherTimes_ = 0;
    bool moreSizes_ = false;
};

} // namespace

double EstimateOf(const Project &project, std::int16_t model, double a, double b) {
    if (AppliesEaf(model)) {
        return std::pow(project.kloc, b) * project.eaf * a;
    }
    return std::pow(project.kloc, b) * a;
}

Check CheckHistory(std::span<const Project> projects, std::int16_t model) {
    Errors all;
    std::array<Errors, ModeCount> modes;
    for (const Project &project : projects) {
        const Coefficients &k = Published(model, project.mode);
        const double estimate = EstimateOf(project, model, k.a, k.b);
        all.Add(estimate, project.actual);
        modes[IndexOf(project.mode)].Add(estimate, project.actual);
    }
    Check check;
    check.all = all.Result();
    for (std::size_t i = 0; i < ModeCount; ++i) {
        const Accuracy accuracy = modes[i].Result();
        if (accuracy.projects > 0) {
            check.modes[i] = accuracy;
        }
    }
    return check;
}

Calibration Calibrate(std::span<const Project> projects, std::int16_t model, Fit fit) {
    Calibration calibration;
    Errors all;
    Errors allLeaveOneOut;
    for (std::int16_t mode = Modes::Organic; mode <= Modes::Embedded; ++mode) {
        const Coefficients &published = Published(model, mode);
        const ModeSums sums(projects, model, mode);
        ModeCalibration &result = calibration.modes[IndexOf(mode)];
        result = sums.Calibrated(sums.Whole(), fit, published);
        if (result.projects == 0) {
            continue;
        }
        Errors fitted;
        Errors leaveOneOut;
        for (const Project &project : projects) {
            if (project.mode != mode) {
                continue;
            }
            const double estimate = EstimateOf(project, model, result.a, result.b);
            fitted.Add(estimate, project.actual);
            all.Add(estimate, project.actual);
            const ModeCalibration without = sums.Calibrated(sums.Without(project), fit, published);
            const double outside = EstimateOf(project, model, without.a, without.b);
            leaveOneOut.Add(outside, project.actual);
            allLeaveOneOut.Add(outside, project.actual);
        }
        result.fitted = fitted.Result();
        result.leaveOneOut = leaveOneOut.Result();
    }
    calibration.all = all.Result();
    calibration.allLeaveOneOut = allLeaveOneOut.Result();
    return calibration;
}

} // namespace engine::history
