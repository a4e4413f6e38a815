#pragma once
// Floating-point fault detection: invalid operation, division by zero and overflow,
// in both the x87 unit (long double arithmetic) and SSE (where some libm wrappers
// report). Underflow, denormal operands and inexact results are not faults.

#include <cfenv>

namespace pc {

// Non-zero when a fault flag is raised. The read itself is cheap, but it waits for every
// pending x87 operation, so the fast path avoids it where results tell the same story;
// clearing (feclearexcept reloads the whole x87 environment) happens only on the rare
// failure paths.
inline unsigned RaisedFaults() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned short x87Status;
    unsigned int sseStatus;
    // The "memory" clobber keeps the compiler from moving stored results past the read.
    asm volatile("fnstsw %0" : "=a"(x87Status) : : "memory");
    asm volatile("stmxcsr %0" : "=m"(sseStatus) : : "memory");
    constexpr unsigned kFaultBits = 0x01u | 0x04u | 0x08u;  // invalid, zero divide, overflow
    return (x87Status | sseStatus) & kFaultBits;
#else
    return static_cast<unsigned>(fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW));
#endif
}

inline void ClearFaults() {
    feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace pc
