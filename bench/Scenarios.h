#pragma once

#include "platform/HeadlessGui.h"

#include <functional>
#include <string>
#include <vector>

namespace tavrin::bench {

// One named thing to time. prepare runs once and beforeEach before every repetition, both
// untimed; only run is timed.
struct Scenario {
    std::string name;
    int repetitions = 10;
    std::function<void()> prepare;
    std::function<void()> run;
    std::function<void()> beforeEach = {};
};

// Every scenario registered so far, in the order of registration.
std::vector<Scenario> &Registry();

// Registers a scenario from any file of the benchmark program:
//   static const bool registered = tavrin::bench::Register({"name", 10, prepare, run});
// (scenario files are picked up by the build on their own: every bench/*.cpp is compiled in).
inline bool Register(Scenario scenario)
{
    Registry().push_back(std::move(scenario));
    return true;
}

// Text drawing needs the GUI application object (offscreen); scenarios call this in prepare.
using tavrin::EnsureGuiApplication;

// Keeps the optimiser from dropping work whose result is not used.
void KeepResult(const void *p);

} // namespace tavrin::bench
