// Arbitrary bytes as an answers file: the reader must refuse or accept them
// without reading out of bounds or growing without limit, and a match
// captained by what it accepted must end, keep its invariants and report.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/answers.h"
#include "soak/match_check.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

Team side(const char* name)
{
    Team team;
    team.setName(name);
    int bowlers[5];
    for (int i = 0; i < Team::kPlayers; ++i) {
        Player& p = *team.player(i);
        p.setName(std::string(name) + std::to_string(i));
        p.batTempo = p.batRisk = p.batSurvival = 600 - 40 * i;
        if (i >= 6) {
            p.isBowler = 1;
            p.bowlTempo = p.bowlThreat = 400 + 20 * i;
            p.bowlStyle = i % 3;
            bowlers[i - 6] = i;
        }
    }
    team.setKeeper(5);
    team.player(5)->isKeeper = 1;
    team.setBowlers(bowlers, 5);
    return team;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<Answer> answers;
    std::string error;
    if (!parseAnswers(text, "fuzz.txt", answers, error)) {
        require(error.rfind("fuzz.txt:", 0) == 0);
        return 0;
    }
    require(answers.size() <= kMaxAnswers);
    for (const Answer& a : answers)
        require(a.kind == Answer::Options || a.kind == Answer::Declare ||
                (a.value >= 0 && a.value <= (a.kind == Answer::Batsman ? 10 : 9)));

    // Short matches keep each run quick: a few overs, or a Test when the size is odd.
    Match match;
    match.options().oneDay = size % 2 == 0;
    match.options().overs = 1 + static_cast<int>(size % 7);
    AnswerScript script(answers, "fuzz.txt");
    if (!script.checkBeforePlay(match.options().oneDay != 0).empty()) return 0;
    ScriptedCaptain captain(match, script);
    match.setCaptain(&captain);
    static const Team first = side("North"), second = side("South");
    std::string problem;
    const PlayOutcome outcome = playWholeMatch(match, first, second, static_cast<std::uint32_t>(size) | 1, &problem);
    require(outcome == PlayOutcome::Played);
    // A declaration closes an innings for a reason the whole-match check does not know.
    const bool declares =
        std::any_of(answers.begin(), answers.end(), [](const Answer& a) { return a.kind == Answer::Declare; });
    require(declares || checkWholeMatch(match).empty());
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    require(sink != nullptr && checkReport(match, sink).empty());
    return 0;
}
