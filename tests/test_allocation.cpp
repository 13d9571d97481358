// Playing a started innings must not touch the heap. This file replaces the
// global allocation functions of the whole test program with counting ones;
// they count only while a test switches counting on, so nothing else is
// affected. A second switch makes the non-throwing forms fail, which is how
// an innings learns that its tables cannot be obtained.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "fake_platform.h"
#include "support.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
std::atomic<bool> refusing{false};

void* allocate(std::size_t size)
{
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t a = static_cast<std::size_t>(alignment);
    const std::size_t rounded = ((size ? size : 1) + a - 1) / a * a;
    return std::aligned_alloc(a, rounded);
}

// Kept out of line so the compiler does not pair each free with the
// operator new it can see and warn about a mismatch that is not there.
[[gnu::noinline]] void release(void* p) { std::free(p); }

// Counts the allocations made while it lives.
struct AllocationCount {
    AllocationCount()
    {
        allocations = 0;
        counting = true;
    }
    ~AllocationCount() { counting = false; }
    long stop()
    {
        counting = false;
        return allocations.load();
    }
};

}  // namespace

void* operator new(std::size_t size)
{
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return refusing ? nullptr : allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return refusing ? nullptr : allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment)
{
    if (void* p = allocateAligned(size, alignment)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    if (void* p = allocateAligned(size, alignment)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned(size, alignment);
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }

namespace {

// Plays the current innings of a started match to its end; the number of
// allocations made meanwhile.
long allocationsToPlayOut(Match& m)
{
    AllocationCount count;
    int guard = 0;
    while (!(m.playBall() & kInningsEnded) && guard++ < 20000) {
    }
    return count.stop();
}

}  // namespace

TEST(Allocation, CounterSeesAllocations)
{
    AllocationCount count;
    void* p = ::operator new(16);
    void* q = ::operator new[](32, std::nothrow);
    const long n = count.stop();
    ::operator delete(p);
    ::operator delete[](q);
    EXPECT_EQ(n, 2) << "the counting allocator is not in use";
}

TEST(Allocation, StartingAnInningsObtainsItsTwoTables)
{
    Team a = support::makeSide("A", "A", 6), b = support::makeSide("B", "B", 6);
    Match m;
    AllocationCount count;
    ASSERT_EQ(m.innings[0].start(a, b, -1, 300), 1);
    EXPECT_EQ(count.stop(), 2);
}

TEST(Allocation, PlayingAWholeOneDayInningsAllocatesNothing)
{
    auto m = std::make_unique<Match>();
    m->setTeam(0, support::loadData("harbour.xi"));
    m->setTeam(1, support::loadData("upland.xi"));
    m->options().oneDay = 1;
    m->context().random.seed(2024);
    ASSERT_TRUE(m->startPlay());
    EXPECT_EQ(allocationsToPlayOut(*m), 0);
    EXPECT_GT(m->innings[0].deliveries, 100);
    ASSERT_TRUE(m->startInnings(1, 1, 0));
    EXPECT_EQ(allocationsToPlayOut(*m), 0) << "the chase, with its winning-hit rule";
}

TEST(Allocation, PlayingAWholeTestInningsAllocatesNothing)
{
    auto m = std::make_unique<Match>();
    m->setTeam(0, support::loadData("harbour.xi"));
    m->setTeam(1, support::loadData("twin.xi"));
    m->options().oneDay = 0;
    m->context().random.seed(2025);
    ASSERT_TRUE(m->startPlay());
    EXPECT_EQ(allocationsToPlayOut(*m), 0);
    EXPECT_GT(m->innings[0].deliveries, 100);
}

namespace {

// A choice dialog that always answers from the first row, as Escape does.
struct EscapeOwner : MatchOwner {
    int autoplay() const override { return 0; }
    ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int) override
    {
        ChoiceResult r;
        if (chooseBatsman) {
            for (int p = 0; p < 11 && r.choice < 0; ++p)
                if (innings.positionOf(p) == 11) r.choice = p;
        } else {
            for (int b = 0; b < innings.bowlingTeam->bowlerCount() && r.choice < 0; ++b)
                if (innings.eligibleToBowl(b)) r.choice = b;
        }
        return r;
    }
};

}  // namespace

TEST(Allocation, InteractiveChoicesAllocateNothingInTheEngine)
{
    auto m = std::make_unique<Match>();
    EscapeOwner owner;
    m->owner = &owner;
    m->setTeam(0, support::loadData("harbour.xi"));
    m->setTeam(1, support::loadData("upland.xi"));
    m->context().random.seed(7);
    ASSERT_TRUE(m->startPlay());
    EXPECT_EQ(allocationsToPlayOut(*m), 0);
}

namespace {

// Refuses the innings tables while it lives.
struct Refusal {
    Refusal() { refusing = true; }
    ~Refusal() { refusing = false; }
};

}  // namespace

TEST(InningsStartFailure, LaterInningsThatCannotStartEndsTheGameWithTheReportSoFar)
{
    fake::Harness h;
    h.presetTeams();
    h.settings.autoplay = 1;
    const std::string report = support::tempPath("start-failure.txt");
    h.settings.outputFileName = report;
    h.open();
    ASSERT_EQ(h.match().playing, 1);
    {
        Refusal refusal;
        h.playToEnd();
    }
    EXPECT_EQ(h.match().gameOver, 1);
    EXPECT_EQ(h.match().currentInnings, 1);
    EXPECT_EQ(h.match().innings[1].deliveries, 0) << "never plays on an innings that did not start";
    EXPECT_EQ(h.platform.boxTexts(), std::vector<std::string>{"Cannot start the next innings."});
    EXPECT_NE(h.platform.quitCode.value_or(0), 0);
    const auto lines = support::splitLines(support::readFile(report));
    int blocks = 0;
    for (const std::string& l : lines) blocks += l == "Outstanding performances in the inning";
    EXPECT_EQ(blocks, 1) << "the report holds what was played";
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), h.match().resultLine());
}

TEST(InningsStartFailure, FirstInningsThatCannotStartPlaysNothing)
{
    fake::Harness h;
    h.presetTeams();
    h.settings.autoplay = 1;
    h.settings.outputFileName = support::tempPath("first-failure.txt");
    {
        Refusal refusal;
        h.open();
    }
    EXPECT_EQ(h.match().playing, 0);
    h.tick(5);
    EXPECT_EQ(h.match().innings[0].deliveries, 0);
}
