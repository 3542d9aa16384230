#pragma once

#include <cstdint>

// The current time as the project stores it: 32-bit signed seconds since 1970
// (the C run-time's time()). Tests may fix the clock.
class CClock {
public:
    static int32_t Now();

    // Fixes Now() to a value while it lives; restores the real clock after.
    class CScopedFake {
    public:
        explicit CScopedFake(int64_t now);
        ~CScopedFake();
        CScopedFake(const CScopedFake&) = delete;
        CScopedFake& operator=(const CScopedFake&) = delete;
    };

    // The current time in 64 bits, for comparisons that must not overflow.
    static int64_t Now64();
};
