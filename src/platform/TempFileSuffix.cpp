#include "platform/FilePath.h"

#include <atomic>
#include <chrono>
#include <random>

namespace addrix {

std::string TempFileSuffix() {
    static std::atomic<unsigned> counter{0};
    unsigned long long seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    try {
        std::random_device random;
        seed = (seed << 16) ^ random();
    } catch (...) {
        // The clock and the counter alone keep the name apart.
    }
    char text[40];
    std::snprintf(text, sizeof text, ".~%llx%x", seed & 0xffffffffffffULL, counter++);
    return text;
}

} // namespace addrix
