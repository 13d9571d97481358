// Playing a started innings must not touch the heap. This file replaces the
// global allocation functions of the whole test program with counting ones;
// they count only while a test switches counting on, so nothing else is
// affected.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "support.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* allocate(std::size_t size) noexcept
{
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void* allocateOrThrow(std::size_t size)
{
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}

// Kept out of line so the compiler does not pair each free with the
// operator new it can see and warn about a mismatch that is not there.
[[gnu::noinline]] void release(void* p)
{
    std::free(p);
}

// The allocations made while f runs.
template <class F>
long allocationsDuring(F f)
{
    allocations = 0;
    counting = true;
    f();
    counting = false;
    return allocations;
}

}  // namespace

void* operator new(std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void operator delete(void* p) noexcept
{
    release(p);
}
void operator delete[](void* p) noexcept
{
    release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    release(p);
}

namespace {

// Plays the current innings of a started match to its end; the allocations made meanwhile.
long allocationsToPlayOut(Match& m)
{
    return allocationsDuring([&] {
        for (int guard = 0; !(m.playBall() & kInningsEnded) && guard < 20000; ++guard) {
        }
    });
}

}  // namespace

TEST(Allocation, StartingAnInningsObtainsItsTwoTables)
{
    Team a = support::makeSide("A", "A", 6), b = support::makeSide("B", "B", 6);
    Match m;
    EXPECT_EQ(allocationsDuring([&] { m.innings[0].start(a, b, -1, 300); }), 2)
        << "the counting allocator is not in use, or start allocates more than its tables";
}

TEST(Allocation, PlayingWholeInningsAllocatesNothingWhoeverChooses)
{
    support::ScriptedCaptain captain;
    struct Case {
        const char* second;
        bool oneDay;
        Captain* captain;
    } cases[] = {{"upland.xi", true, nullptr}, {"twin.xi", false, nullptr}, {"upland.xi", true, &captain}};
    for (const Case& c : cases) {
        Match m;
        m.setCaptain(c.captain);
        m.setTeam(0, support::loadData("harbour.xi"));
        m.setTeam(1, support::loadData(c.second));
        m.options().oneDay = c.oneDay ? 1 : 0;
        m.context().random.seed(2024);
        ASSERT_TRUE(m.startPlay());
        EXPECT_EQ(allocationsToPlayOut(m), 0) << c.second << (c.captain ? ", choices made by the user" : "");
        EXPECT_GT(m.innings[0].deliveries, 100);
        ASSERT_TRUE(m.startInnings(1, 1, 0));
        EXPECT_EQ(allocationsToPlayOut(m), 0) << "the second innings, chasing in a one-day match";
    }
}
