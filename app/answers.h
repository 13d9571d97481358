#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "match/match.h"

class ChoosePlayerModel;
class OptionsModel;

// Ground settings given to the Game Options dialog: the fields named are
// set, the others keep their values.
struct GroundSettings {
    std::optional<int> outfield, pitchPace, pitchSurface, wicketDifficulty;

    bool any() const { return outfield || pitchPace || pitchSurface || wicketDifficulty; }
    // Moves the dialog's sliders to the named values.
    void fill(OptionsModel& model) const;
};

// One confirmation of the Game Options dialog with these settings, the match
// type left as it is: the fields are set, then the outfield reshapes the run
// table again (so a confirmation without outfield still shifts it when the
// outfield in force is not 50).
void confirmGround(EngineContext& context, const GroundSettings& ground);

// A ground setting's value: a whole number 0..100.
bool parseSetting(std::string_view text, int& out);

// One line of an answers file.
struct Answer {
    enum Kind { Batsman, Bowler, Declare, Options };
    Kind kind = Batsman;
    int value = -1;         // player index (Batsman) or bowler position (Bowler)
    GroundSettings ground;  // Options
    int line = 0;
};

// An answers file's limits: far beyond the few thousand questions of a Test.
constexpr std::size_t kMaxAnswersFileBytes = std::size_t{16} << 20;
constexpr std::size_t kMaxAnswers = 100000;

// Reads the text of an answers file (a UTF-8 byte-order mark first is
// skipped). False with "FILE:LINE: reason" at the first line that is
// malformed or out of range, or past kMaxAnswers answers.
bool parseAnswers(std::string_view text, const std::string& fileName, std::vector<Answer>& out, std::string& error);

// The questions the next delivery of an innings asks before its ball: how
// many batsmen come in, and whether a new over needs a bowler.
struct NextQuestions {
    int batsmen = 0;
    bool bowler = false;
};
NextQuestions questionsBefore(const Innings& innings);

// Answers a bowler question with the automatic bowler choice (its draws
// included), as autoplay would; a batsman question keeps the first row.
void answerAutomatically(ChoosePlayerModel& model);

// Answers the choose-player dialog from an answers file, as a person would:
// options lines confirm the Game Options dialog (through the dialog's Options
// button), then a row is selected or Declare is pressed. When the answers run
// out, a batsman question takes the first listed row and a bowler question
// the automatic bowler choice.
class AnswerScript {
public:
    AnswerScript(std::vector<Answer> answers, std::string fileName)
        : answers_(std::move(answers)), fileName_(std::move(fileName))
    {
    }

    // The refusals that can be seen before play: a declaration in a one-day
    // match, and answers of the wrong kind for the questions that open an
    // innings. Empty when there is none.
    std::string checkBeforePlay(bool oneDay) const;
    // The refusal the next delivery of this innings would reach, so the match
    // stops before that delivery rather than half way through it. Empty when none.
    std::string checkNextDelivery(const Innings& innings) const;

    // Called with the dialog open (its rows built).
    void answer(ChoosePlayerModel& model);
    // Called when the Game Options dialog opens from the choice dialog: the
    // pending options line moves the sliders. False when none is pending.
    bool confirmOptions(OptionsModel& model);

    // A line that was not a listed row: the warning to show.
    std::function<void(const std::string&)> warn;

    // The refusal the next question of this kind would reach; empty when none.
    std::string checkQuestion(bool batsmanAsked) const;
    // Answers no more lines: the rest is answered as autoplay would.
    void stop() { next_ = answers_.size(); }

private:
    std::string where(const Answer& a) const { return fileName_ + ":" + std::to_string(a.line); }
    // Why `a` cannot answer a question of this kind; empty when it can.
    std::string refusal(const Answer& a, bool batsmanAsked, bool oneDay) const;
    // Skips options lines from position i; the index of the next answer.
    std::size_t nextAnswer(std::size_t i) const;

    std::vector<Answer> answers_;
    std::string fileName_;
    std::size_t next_ = 0;
    const Answer* pendingOptions_ = nullptr;
};

// Captains a match without a window (batch play) from an answers file, through
// the same dialog models. A refused answer reached in play is kept in
// `refusal` and the rest of the match is answered as autoplay would.
class ScriptedCaptain : public Captain {
public:
    ScriptedCaptain(Match& match, AnswerScript script) : match_(match), script_(std::move(script)) {}
    int autoplay() const override { return 0; }
    ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare) override;

    std::string refusal;

private:
    Match& match_;
    AnswerScript script_;
};
