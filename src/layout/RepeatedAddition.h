#pragma once

#include <functional>
#include <optional>

namespace tavrin {

// The value that
//     while (keepGoing(value)) value += step;
// ends with, bit for bit, found without taking every step: inside a binary exponent range
// every addition of the same step adds the same rounded amount, so whole runs of steps are
// jumped over and the first value that stops the loop is searched for by halving. The work is
// bounded by the number of exponent ranges crossed, whatever the distance.
//
// keepGoing must change at most once along the values the loop visits (true, then false for
// good), as a comparison with a fixed bound does. Returns nothing when the loop would never
// end: the step stops changing the value (it is too small next to it, or the value is
// infinite) while keepGoing still holds.
std::optional<double> RepeatAdditionWhile(double value, double step, const std::function<bool(double)> &keepGoing);

} // namespace tavrin
