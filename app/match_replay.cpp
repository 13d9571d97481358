#include "app/match_replay.h"

#include "app/answers.h"
#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "engine/engine_context.h"

void confirmOptions(EngineContext& context, const GameOptions& options)
{
    OptionsModel model;
    model.gameTypeEnabled = 0;
    model.load(context.options);
    model.outfield = options.outfield;
    model.pitchPace = options.pitchPace;
    model.pitchSurface = options.pitchSurface;
    model.wicketDifficulty = options.wicketDifficulty;
    model.gameSpeed = options.gameSpeed;
    model.ballByBall = options.briefOutput == 0;
    model.apply(context);
}

void MatchReplay::beforeDelivery(MatchPoint at, EngineContext& context)
{
    const auto& events = record_.events;
    for (; nextOptions_ < events.size() && events[nextOptions_].at <= at; ++nextOptions_)
        if (events[nextOptions_].kind == MatchEvent::Options) confirmOptions(context, events[nextOptions_].options);
    const auto& draws = record_.captionDraws;
    for (; nextDraws_ < draws.size() && draws[nextDraws_].at <= at; ++nextDraws_)
        for (int i = 0; i < draws[nextDraws_].count; ++i)
            context.random.below(2);
}

bool MatchReplay::answer(ChoosePlayerModel& model, MatchPoint at)
{
    const auto& events = record_.events;
    while (nextAnswer_ < events.size() && events[nextAnswer_].kind == MatchEvent::Options)
        ++nextAnswer_;
    if (!error_.empty()) return false;
    if (nextAnswer_ >= events.size() || !(events[nextAnswer_].at == at)) {
        if (at <= record_.played && !(at == record_.played))
            error_ = "the file holds no answer for the question before delivery " + std::to_string(at.delivery + 1) +
                     " of innings " + std::to_string(at.innings + 1);
        return false;
    }
    const MatchEvent& e = events[nextAnswer_];
    const bool fits = e.kind == MatchEvent::Declare ? model.allowDeclare != 0
                                                    : (e.kind == MatchEvent::Batsman) == (model.chooseBatsman != 0);
    if (!fits) {
        error_ = "the answer recorded before delivery " + std::to_string(at.delivery + 1) + " of innings " +
                 std::to_string(at.innings + 1) + " does not fit the question asked there";
        return false;
    }
    ++nextAnswer_;
    model.fillRows();
    if (e.kind == MatchEvent::Declare) {
        model.declare();
        return true;
    }
    if (e.value == MatchEvent::kAutomatic) {
        answerAutomatically(model);
        model.acceptSelection();
        return true;
    }
    // The choice as it was made, listed or not: the engine then takes it as it did.
    model.select(-1);
    model.choice = e.value;
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.rowMap(row) == e.value) model.select(row);
    model.acceptSelection();
    return true;
}

namespace {
std::string describe(MatchPoint p)
{
    return "delivery " + std::to_string(p.delivery) + " of innings " + std::to_string(p.innings + 1);
}

std::string describe(const std::vector<std::array<int, 2>>& score)
{
    std::string text;
    for (const auto& innings : score)
        text += (text.empty() ? "" : ", ") + std::to_string(innings[0]) + "/" + std::to_string(innings[1]);
    return text;
}
}  // namespace

std::string MatchReplay::mismatch(MatchPoint reached, bool playedToTheEnd,
                                  const std::vector<std::array<int, 2>>& score) const
{
    if (reached == record_.played && playedToTheEnd == record_.finished) {
        if (record_.score.empty() || record_.score == score) return {};
        return "played again to " + describe(reached) + ", the score is " + describe(score) + ", not " +
               describe(record_.score) + " as in the file";
    }
    const std::string there = "the file's match " + std::string(record_.finished ? "ended" : "was played to") +
                              " after " + describe(record_.played);
    if (playedToTheEnd) return "played again, the match ends after " + describe(reached) + ", but " + there;
    return "played again, the match goes on after " + describe(reached) + ", but " + there;
}

MatchFile MatchReplay::upToItsPoint(const MatchFile& record)
{
    MatchFile kept = record;
    kept.events.clear();
    for (const MatchEvent& e : record.events)
        if (!(e.at == record.played) || e.kind == MatchEvent::Options) kept.events.push_back(e);
    return kept;
}
