#include "app/answers.h"

#include <sstream>

#include "analysis/bounded_input.h"
#include "analysis/printable_text.h"
#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "engine/engine_context.h"
#include "engine/innings.h"

void GroundSettings::fill(OptionsModel& model) const
{
    if (outfield) model.outfield = *outfield;
    if (pitchPace) model.pitchPace = *pitchPace;
    if (pitchSurface) model.pitchSurface = *pitchSurface;
    if (wicketDifficulty) model.wicketDifficulty = *wicketDifficulty;
}

void confirmGround(EngineContext& context, const GroundSettings& ground)
{
    OptionsModel model;
    model.gameTypeEnabled = 0;
    model.load(context.options);
    ground.fill(model);
    model.apply(context);
}

bool parseSetting(std::string_view text, int& out)
{
    if (text.empty() || text.size() > 3) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > 100) return false;
    out = v;
    return true;
}

namespace {

bool parseIndex(const std::string& text, int limit, int& out)
{
    if (text.empty() || text.size() > 2) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > limit) return false;
    out = v;
    return true;
}

// Reads "name=N" words into the settings; empty when all are good, else why not.
std::string parseOptionsWords(std::istringstream& words, GroundSettings& ground)
{
    std::string word;
    bool some = false;
    while (words >> word) {
        const std::size_t eq = word.find('=');
        const std::string name = word.substr(0, eq);
        std::optional<int>* field = name == "outfield"           ? &ground.outfield
                                    : name == "pitchPace"        ? &ground.pitchPace
                                    : name == "pitchSurface"     ? &ground.pitchSurface
                                    : name == "wicketDifficulty" ? &ground.wicketDifficulty
                                                                 : nullptr;
        if (!field || eq == std::string::npos)
            return "\"" + printableText(word) +
                   "\" is not outfield=N, pitchPace=N, pitchSurface=N or wicketDifficulty=N";
        int v = 0;
        if (!parseSetting(std::string_view(word).substr(eq + 1), v))
            return name + " needs a whole number from 0 to 100, not \"" + printableText(word.substr(eq + 1)) + "\"";
        *field = v;
        some = true;
    }
    return some ? std::string() : std::string("options names no setting");
}

}  // namespace

bool parseAnswers(std::string_view text, const std::string& fileName, std::vector<Answer>& out, std::string& error)
{
    out.clear();
    if (text.size() > kMaxAnswersFileBytes) {
        error = fileName + ": larger than " + describeSize(kMaxAnswersFileBytes);
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind) || kind[0] == '#') continue;
        Answer a;
        a.line = number;
        std::string why, value, extra;
        if (kind == "batsman" || kind == "bowler") {
            a.kind = kind == "batsman" ? Answer::Batsman : Answer::Bowler;
            const int limit = a.kind == Answer::Batsman ? 10 : 9;
            if (!(words >> value))
                why = kind + " needs a number";
            else if (!parseIndex(value, limit, a.value))
                why = kind + " needs a whole number from 0 to " + std::to_string(limit) + ", not \"" +
                      printableText(value) + "\"";
            else if (words >> extra)
                why = "unexpected \"" + printableText(extra) + "\" after " + kind + " " + value;
        } else if (kind == "declare") {
            a.kind = Answer::Declare;
            if (words >> extra) why = "unexpected \"" + printableText(extra) + "\" after declare";
        } else if (kind == "options") {
            a.kind = Answer::Options;
            why = parseOptionsWords(words, a.ground);
        } else {
            why = "\"" + printableText(kind) + "\" is not batsman, bowler, declare or options";
        }
        if (why.empty() && out.size() == kMaxAnswers)
            why = "more than " + std::to_string(kMaxAnswers) + " answers, more than a match asks for";
        if (!why.empty()) {
            error = fileName + ":" + std::to_string(number) + ": " + why;
            return false;
        }
        out.push_back(a);
    }
    return true;
}

NextQuestions questionsBefore(const Innings& innings)
{
    NextQuestions q;
    if (innings.closed) return q;
    if (innings.deliveries == 0)
        q.batsmen = 2 - innings.batsmenIn;
    else if (innings.needBatsman == 1)
        q.batsmen = 1;
    q.bowler =
        innings.deliveries == 0 || (innings.legalBalls > 0 && innings.legalBalls % 6 == 0 && innings.lastWasExtra == 0);
    return q;
}

void answerAutomatically(ChoosePlayerModel& model)
{
    if (model.chooseBatsman || !model.innings()) return;
    const int position = model.innings()->autoBowler();
    model.automatic = true;
    model.select(-1);
    model.choice = position;
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.rowMap(row) == position) model.select(row);
    // The second over's automatic choice does not ask who bowled the first,
    // which an answer may have chosen: a bowler who may not bowl this over
    // gives way to the first listed one, as an unlisted answer does.
    if (model.selectedRow() == -1 && model.rowCount() > 0) model.select(0);
}

std::size_t AnswerScript::nextAnswer(std::size_t i) const
{
    while (i < answers_.size() && answers_[i].kind == Answer::Options)
        ++i;
    return i;
}

std::string AnswerScript::refusal(const Answer& a, bool batsmanAsked, bool oneDay) const
{
    if (a.kind == Answer::Declare)
        return oneDay ? where(a) + ": declare is for Test matches, and this is a one-day match" : std::string();
    if ((a.kind == Answer::Batsman) != batsmanAsked)
        return where(a) + ": a " + (batsmanAsked ? "batsman" : "bowler") + " is asked for here, not a " +
               (batsmanAsked ? "bowler" : "batsman");
    return {};
}

std::string AnswerScript::checkBeforePlay(bool oneDay) const
{
    for (const Answer& a : answers_)
        if (a.kind == Answer::Declare && oneDay) return refusal(a, true, true);
    // Every innings opens with two batsmen and a bowler; what follows depends on play.
    const int innings = oneDay ? 2 : 4;
    std::size_t i = nextAnswer(0);
    for (int k = 0; k < innings; ++k) {
        bool declared = false;
        for (int q = 0; q < 3 && i < answers_.size() && !declared; ++q, i = nextAnswer(i + 1)) {
            declared = answers_[i].kind == Answer::Declare;
            if (std::string why = refusal(answers_[i], q < 2, oneDay); !why.empty()) return why;
        }
        if (!declared) break;
    }
    return {};
}

std::string AnswerScript::checkNextDelivery(const Innings& innings) const
{
    const NextQuestions q = questionsBefore(innings);
    std::size_t i = nextAnswer(next_);
    for (int n = 0; n < q.batsmen + (q.bowler ? 1 : 0) && i < answers_.size(); ++n, i = nextAnswer(i + 1)) {
        if (answers_[i].kind == Answer::Declare) break;  // one-day declarations were refused before play
        if (std::string why = refusal(answers_[i], n < q.batsmen, false); !why.empty()) return why;
    }
    return {};
}

std::string AnswerScript::checkQuestion(bool batsmanAsked) const
{
    const std::size_t i = nextAnswer(next_);
    return i < answers_.size() ? refusal(answers_[i], batsmanAsked, false) : std::string();
}

ChoiceResult ScriptedCaptain::choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare)
{
    if (refusal.empty()) refusal = script_.checkQuestion(chooseBatsman != 0);
    if (!refusal.empty()) script_.stop();
    ChoosePlayerModel model;
    model.setup(innings, chooseBatsman, allowDeclare);
    model.optionsHandler = [this] {
        OptionsModel options;
        options.gameTypeEnabled = 0;
        options.load(match_.options());
        if (script_.confirmOptions(options)) options.apply(match_.context());
    };
    model.fillRows();
    script_.answer(model);
    model.acceptSelection();
    return ChoiceResult{model.choice, model.declared};
}

void AnswerScript::answer(ChoosePlayerModel& model)
{
    // Options lines are confirmed before the question is answered.
    for (; next_ < answers_.size() && answers_[next_].kind == Answer::Options; ++next_) {
        pendingOptions_ = &answers_[next_];
        model.openOptions();
        pendingOptions_ = nullptr;
    }
    if (next_ >= answers_.size()) {
        answerAutomatically(model);
        return;
    }
    const Answer& a = answers_[next_++];
    if (a.kind == Answer::Declare) {
        model.declare();
        return;
    }
    int row = -1;
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.rowMap(r) == a.value) row = r;
    if (row == -1) {
        if (warn)
            warn(where(a) + ": " + (a.kind == Answer::Batsman ? "batsman " : "bowler ") + std::to_string(a.value) +
                 (a.kind == Answer::Batsman ? " has batted or is batting" : " may not bowl this over") +
                 "; the first listed " + (a.kind == Answer::Batsman ? "batsman" : "bowler") + " is taken");
        row = model.rowCount() > 0 ? 0 : -1;
    }
    model.select(row);
}

bool AnswerScript::confirmOptions(OptionsModel& model)
{
    if (!pendingOptions_) return false;
    pendingOptions_->ground.fill(model);
    return true;
}
