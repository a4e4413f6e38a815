// The success path of Value allocates nothing. This file replaces the global
// allocation functions with counting ones for the whole test program; only the
// window around the measured loop is looked at.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "engine_test_support.h"

namespace {

std::atomic<long> g_allocations{0};

void* CountedAllocation(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return CountedAllocation(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocation(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace pc {
namespace {

TEST(Allocation, CountingIsInForce) {
    const long before = g_allocations.load();
    auto* probe = new std::vector<int>(100);
    delete probe;
    EXPECT_GE(g_allocations.load() - before, 2) << "the vector and its buffer";
}

TEST(Allocation, SuccessfulEvaluationsAllocateNothing) {
    for (const char* definition :
         {"F(X)=SIN(X)*X+1", "F(X)=IF(X>0;X^2;-X)", "F(X)=SQRT(ABS(X))+MAX(X;1)*ATAN2(X;2)",
          "F(X)=G(X)*K+X^0.5^2"}) {
        test::ParserWithDeclarations setup({"G(X)=COS(X)-X"}, {"K=2*PI"});
        setup.parser.SetTerm(definition);
        ASSERT_EQ(setup.parser.AnalyseStatus(), ParserStatus::Ok) << definition;
        setup.parser.SetVariable("X", 1);
        setup.parser.Value();  // a first evaluation may settle anything lazily made

        int failures = 0;
        Extended sum = 0;
        const long before = g_allocations.load();
        for (int i = 0; i < 10000; ++i) {
            setup.parser.SetVariable("X", static_cast<Extended>(i % 200) / 10 + 0.05L);
            sum += setup.parser.Value();
            failures += setup.parser.EvaluationStatus() != ParserStatus::Ok ? 1 : 0;
        }
        const long allocations = g_allocations.load() - before;
        EXPECT_EQ(failures, 0) << definition;
        EXPECT_EQ(allocations, 0) << definition;
        EXPECT_TRUE(std::isfinite(sum)) << definition;
    }
}

}  // namespace
}  // namespace pc
