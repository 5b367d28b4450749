#pragma once

#include <cstdint>

// The pseudo-random generator of the C runtime the program was designed on: the state becomes
// state * 214013 + 2531011, and each number is bits 16..30 of it (0..32767). The program seeds
// it once with the time at start-up; tests seed it themselves.
class CRuntimeRandom {
public:
    void Seed(std::uint32_t seed) { m_state = seed; }
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t m_state = 1;
};

// The program's one generator.
CRuntimeRandom& ProgramRandom();
