#pragma once
#include <cstdint>

// The match generator: the classic C library linear congruential generator.
// The constants and the (r * n) >> 15 scaling must never change: every
// recorded seed replays its match only while they stay exactly as they are.
class Random {
public:
    void seed(std::uint32_t s) { state_ = s; }

    // Next 15-bit output, 0..32767.
    int next()
    {
        state_ = state_ * 214013u + 2531011u;
        ++draws_;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

    // A whole number 0..n-1.
    int below(int n) { return static_cast<int>((static_cast<std::int64_t>(next()) * n) >> 15); }

    std::uint32_t state() const { return state_; }
    // Draws made since construction; a replay that drifts shows here first.
    std::uint64_t draws() const { return draws_; }

private:
    std::uint32_t state_ = 0;
    std::uint64_t draws_ = 0;
};

// Spreads nearby numbers far apart (the splitmix64 finaliser): for seeds made
// from the clock and for draws that must not follow the match generator.
inline std::uint64_t mixBits(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}
