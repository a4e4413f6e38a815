#include "random_source.h"

#include <chrono>
#include <mutex>
#include <random>

namespace pc {

namespace {

struct SharedGenerator {
    std::mutex mutex;
    std::mt19937_64 engine;
    std::once_flag seeded;
};

SharedGenerator& Generator() {
    static SharedGenerator generator;
    return generator;
}

}  // namespace

void SeedRandomOnce() {
    SharedGenerator& generator = Generator();
    std::call_once(generator.seeded, [&generator] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count() ^
                         std::chrono::system_clock::now().time_since_epoch().count();
        std::lock_guard lock(generator.mutex);
        generator.engine.seed(static_cast<std::uint64_t>(now));
    });
}

Extended RandomUniform() {
    SharedGenerator& generator = Generator();
    std::uint64_t bits;
    {
        std::lock_guard lock(generator.mutex);
        bits = generator.engine();
    }
    // All 64 bits fill the extended significand exactly, so the result is below 1.
    return static_cast<Extended>(bits) * 0x1p-64L;
}

}  // namespace pc
