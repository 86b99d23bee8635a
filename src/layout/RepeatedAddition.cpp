#include "layout/RepeatedAddition.h"

#include <cmath>
#include <cstdint>

namespace tavrin {

namespace {

// How many more additions of the same rounded amount are certain from value on: the values
// stay at least one unit in the last place inside value's exponent range, so each exact sum
// value + step still rounds within that range, to value + delta. Below 1 the ranges are
// narrower than a step (and one of them rounds halfway cases to even, so the amount
// alternates); those are crossed one step at a time.
std::int64_t CertainRunLength(double value, double delta)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1.0) || std::isinf(magnitude))
        return 0;
    int exponent = 0;
    std::frexp(magnitude, &exponent); // magnitude lies in [2^(exponent-1), 2^exponent)
    const double unit = std::ldexp(1.0, exponent - 53);
    const double lowest = std::ldexp(1.0, exponent - 1) + unit;
    const double highest = std::ldexp(1.0, exponent) - unit;
    if (magnitude < lowest || magnitude > highest)
        return 0;
    const bool growing = (value > 0) == (delta > 0);
    // Both differences are exact multiples of unit below 2^53 units.
    const auto roomUnits = static_cast<std::int64_t>((growing ? highest - magnitude : magnitude - lowest) / unit);
    const auto deltaUnits = static_cast<std::int64_t>(std::fabs(delta) / unit);
    return deltaUnits > 0 ? roomUnits / deltaUnits : 0;
}

} // namespace

std::optional<double> RepeatAdditionWhile(double value, double step, const std::function<bool(double)> &keepGoing)
{
    for (;;) {
        if (!keepGoing(value))
            return value;
        const double next = value + step;
        if (next == value)
            return std::nullopt;
        value = next;
        if (!keepGoing(value))
            return value;

        // The amount the next addition adds; a run needs the one after it to add the same.
        const double delta = (value + step) - value;
        const std::int64_t run = CertainRunLength(value, delta);
        if (run < 2 || ((value + delta) + step) - (value + delta) != delta)
            continue;
        // value + k * delta is exact for every k up to run. Find the first k that stops the
        // loop; keepGoing(value) holds.
        if (keepGoing(value + double(run) * delta)) {
            value += double(run) * delta;
            continue;
        }
        std::int64_t going = 0, stopped = run;
        while (stopped - going > 1) {
            const std::int64_t middle = going + (stopped - going) / 2;
            (keepGoing(value + double(middle) * delta) ? going : stopped) = middle;
        }
        return value + double(stopped) * delta;
    }
}

} // namespace tavrin
