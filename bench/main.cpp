// A small timing tool: runs every registered scenario (or those whose name contains the first
// argument) its number of times and prints the median, fastest and slowest run.
#include "Scenarios.h"


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace tavrin::bench {

std::vector<Scenario> &Registry()
{
    static std::vector<Scenario> scenarios;
    return scenarios;
}

namespace {
const void *volatile resultSink = nullptr;
}

void KeepResult(const void *p) { resultSink = p; }


} // namespace tavrin::bench

int main(int argc, char **argv)
{
    using namespace tavrin::bench;
    using Clock = std::chrono::steady_clock;
    const char *filter = argc > 1 ? argv[1] : nullptr;

    for (Scenario &scenario : Registry()) {
        if (filter && !std::strstr(scenario.name.c_str(), filter))
            continue;
        if (scenario.prepare)
            scenario.prepare();
        std::vector<double> milliseconds;
        for (int i = 0; i < std::max(1, scenario.repetitions); ++i) {
            if (scenario.beforeEach)
                scenario.beforeEach();
            const auto start = Clock::now();
            scenario.run();
            milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::sort(milliseconds.begin(), milliseconds.end());
        std::printf("%s: median %.2f ms (min %.2f, max %.2f)\n", scenario.name.c_str(),
                    milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back());
        std::fflush(stdout);
    }
    return 0;
}
