#include "fonts/FontConfigurationLoading.h"

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

namespace tavrin {

namespace {

struct Loading {
    std::mutex mutex;
    std::thread thread;
    std::atomic<bool> underWay{false};

    void finish()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (thread.joinable())
            thread.join();
        underWay.store(false, std::memory_order_release);
    }
    // A program that ends while the load runs waits for it rather than pull fontconfig's
    // memory away from under it.
    ~Loading() { finish(); }
};

Loading &TheLoading()
{
    static Loading loading;
    return loading;
}

} // namespace

void StartLoadingFontConfiguration()
{
    Loading &loading = TheLoading();
    const std::lock_guard<std::mutex> lock(loading.mutex);
    if (loading.thread.joinable())
        return;
    try {
        loading.thread = std::thread([] { FcInit(); });
        loading.underWay.store(true, std::memory_order_release);
    } catch (const std::system_error &) {
        // No thread to be had: the first match loads the configuration itself, as without this.
    }
}

void FinishLoadingFontConfiguration()
{
    if (TheLoading().underWay.load(std::memory_order_acquire))
        TheLoading().finish();
}

} // namespace tavrin
