#include "rating/rate_options.h"

#include <array>
#include <cstring>

#include "app/option_table.h"
#include "rating/side_file.h"

namespace {

using RateOption = Option<RateOptions>;

std::string readDate(std::string& field, const char* v)
{
    if (!isDateText(v)) return std::string("a date is YYYY-MM-DD, not \"") + v + "\"";
    field = v;
    return {};
}

// NAME=SHORT: SHORT is the side's name in its file.
std::string readSide(RateOptions& o, const char* v)
{
    const char* equals = std::strrchr(v, '=');
    o.sides.emplace_back(v, equals ? static_cast<std::size_t>(equals - v) : std::strlen(v));
    o.shortNames.push_back(equals ? std::string(equals + 1) : sideShortName(o.sides.back()));
    const std::string& shortName = o.shortNames.back();
    if (o.sides.back().empty() || shortName.empty() || shortName.size() > 15 || oneWord(shortName, false) != shortName)
        return std::string("--side=") + v +
               ": the short name after '=' is one word of at most 15 characters, without '#'";
    return {};
}

constexpr std::array kRateOptions{
    RateOption{"--format", "oneday|test|overs=N",
               "the matches to read: one-day (ODI and other 50-over\n"
               "matches, the default), Test and other multi-day matches,\n"
               "or those of N overs a side; the fit plays each match\n"
               "again as a Pelmora Test with test, otherwise as a\n"
               "limited-overs match of its own allowance",
               [](RateOptions& o, const char* v) {
                   long long n = 0;
                   o.formatGiven = true;
                   if (std::strcmp(v, "oneday") == 0)
                       o.filter.format = MatchFilter::Format::OneDay;
                   else if (std::strcmp(v, "test") == 0)
                       o.filter.format = MatchFilter::Format::Test;
                   else if (std::strncmp(v, "overs=", 6) == 0 &&
                            readWholeNumber("--format=overs", v + 6, 1, 1000, n).empty()) {
                       o.filter.format = MatchFilter::Format::Overs;
                       o.filter.overs = static_cast<int>(n);
                   } else
                       return std::string("--format is oneday, test or overs=N, not \"") + v + "\"";
                   return std::string();
               }},
    RateOption{"--match-type", "TYPE",
               "only matches of this info.match_type (T20, IT20, ODI, ODM, Test,\n"
               "MDM, in any case); needed when the matches read have more than one.\n"
               "Without --format, Test and MDM are played as Tests, any other type\n"
               "as limited-overs matches of its own allowance",
               [](RateOptions& o, const char* v) { return (o.filter.matchType = v, std::string()); }},
    RateOption{"--team-type", "international|club", "only matches of this info.team_type",
               [](RateOptions& o, const char* v) {
                   if (std::strcmp(v, "international") != 0 && std::strcmp(v, "club") != 0)
                       return std::string("--team-type is international or club, not \"") + v + "\"";
                   o.filter.teamType = v;
                   return std::string();
               }},
    RateOption{"--event", "NAME", "only matches of this competition (info.event.name, exactly)",
               [](RateOptions& o, const char* v) { return (o.filter.event = v, std::string()); }},
    RateOption{"--from", "YYYY-MM-DD", "only matches whose first day is on or after this date",
               [](RateOptions& o, const char* v) { return readDate(o.filter.from, v); }},
    RateOption{"--to", "YYYY-MM-DD", "only matches whose first day is on or before this date",
               [](RateOptions& o, const char* v) { return readDate(o.filter.to, v); }},
    RateOption{"--gender", "male|female", "only men's or women's matches; needed when the files have both",
               [](RateOptions& o, const char* v) {
                   if (std::strcmp(v, "male") != 0 && std::strcmp(v, "female") != 0)
                       return std::string("--gender is male or female, not \"") + v + "\"";
                   o.filter.gender = v;
                   return std::string();
               }},
    RateOption{"--team", "NAME", "only matches NAME played in (may be repeated)",
               [](RateOptions& o, const char* v) { return (o.filter.teams.push_back(v), std::string()); }, false},
    RateOption{"--side", "NAME[=SHORT]",
               "also write NAME.xi: the side's most recent eleven in batting\n"
               "order, its wicket-keeper and its bowlers (all of the eleven who bowled\n"
               "for it in the matches read) marked (may be repeated); the file is in\n"
               "the --out folder, the whole NAME made one word and a safe file name.\n"
               "In the file the side is SHORT (one word, at most 15 characters), by\n"
               "default NAME made one word if it fits, else its first word and the\n"
               "initials of the others (Royal Challengers Bengaluru: RoyalCB)",
               [](RateOptions& o, const char* v) { return readSide(o, v); }, false},
    RateOption{"--keeper", "NAME",
               "the wicket-keeper of a --side eleven, by his name in the files;\n"
               "otherwise the one with the most stumpings (ties by catches), else\n"
               "the most catches among those who did not bowl in that match",
               [](RateOptions& o, const char* v) { return (o.keeper = v, std::string()); }},
    RateOption{"--styles", "FILE",
               "bowling styles: lines \"NAME or ID,pace|spin|neutral\"; for anyone not\n"
               "named, the style is read from how he was used (Pelmora's captain opens\n"
               "with neutral bowlers, then spin, then pace): neutral for one who usually\n"
               "opened the bowling, spin for one who usually came on first after the\n"
               "openers within the first fifth of the overs, else pace",
               [](RateOptions& o, const char* v) { return (o.stylesPath = v, std::string()); }},
    RateOption{"--out", "DIR", "where players.csv and the .xi files go (default: the current folder)",
               [](RateOptions& o, const char* v) { return (o.outFolder = v, std::string()); }},
    RateOption{"--simulations", "N",
               "matches the fit may play in all (default 200000 one-day, 50000 Test),\n"
               "but at least every match of the archive once",
               [](RateOptions& o, const char* v) {
                   return readWholeNumber("--simulations", v, 100, 100000000, o.simulations);
               }},
    RateOption{"--tolerance", "T",
               "the fit's precision in rating points (default 5): round after round\n"
               "it plays every match of the archive twice as often as before, and\n"
               "stops at the first round whose figures would move the ratings by no\n"
               "more than T (the ball-weighted mean change of each tempo, risk and\n"
               "threat), after 16 rounds or when --simulations are played",
               [](RateOptions& o, const char* v) { return readWholeNumber("--tolerance", v, 1, 1000, o.tolerance); }},
    RateOption{"--threads", "K", "threads (default: the number of cores); the result is the same for any K",
               [](RateOptions& o, const char* v) { return readWholeNumber("--threads", v, 1, 1024, o.threads); }},
    RateOption{"--seed", "N", "seed of the fit's matches (default 1)",
               [](RateOptions& o, const char* v) { return readWholeNumber("--seed", v, 0, 4294967295LL, o.seed); }},
    RateOption{"--forecast", "DIR",
               "forecast the fixtures in DIR (Cricsheet match files, folders or .zip\n"
               "archives; only their info is read: teams, dates, match type, overs,\n"
               "gender, players and toss) instead of writing players.csv: each fixture's\n"
               "two elevens (the first eleven of info.players of each side) are rated\n"
               "from the archive matches whose first day is before the fixture's (one\n"
               "fit for each distinct set of them) and the fixture is played\n"
               "--matches times as pelmora-cli --matches plays a batch, with seeds\n"
               "--seed, --seed + 1, ...; when info.toss says who won it and chose\n"
               "what, only the seeds whose toss sends in that side to bat first count.\n"
               "Its bowlers are those of the eleven who bowled in at least a quarter of\n"
               "their archive matches, topped up as the fit does. A player in no\n"
               "archive match before it (a debutant) gets the prior of his role below,\n"
               "his batting position his place in info.players. Writes --out's\n"
               "forecast.csv: file,date,team1,team2,p_team1,p_team2,p_tie (team1 and\n"
               "team2 in the order of info.teams; ties, and Tests whose time ran out,\n"
               "in p_tie; the three add up to 1). A fixture of another match type or\n"
               "gender than the archive, or with no archive match before it, is named\n"
               "on standard error and left out",
               [](RateOptions& o, const char* v) { return (o.forecastDir = v, std::string()); }},
    RateOption{
        "--matches", "N", "plays of each fixture with --forecast (default 1000)",
        [](RateOptions& o, const char* v) { return readWholeNumber("--matches", v, 1, 1000000, o.playsPerFixture); }},
    RateOption{"--backtest", "",
               "with --forecast, also read each fixture's info.outcome and print the\n"
               "Brier score of the forecast, of a coin and of an Elo table. A fixture's\n"
               "Brier score is (p - y)^2, p the chance given to team1 winning, y 1 if\n"
               "team1 won, 0.5 for a tie or a draw, 0 if it lost; the score printed is\n"
               "the mean over the fixtures forecast (a no result, or no outcome, is left\n"
               "out and counted). The coin says 0.5 (0.25 for each match won or lost).\n"
               "Elo: every side starts at 1500 and the archive matches before the\n"
               "fixture's day are taken in order of day, K 20, no home advantage,\n"
               "p = 1 / (1 + 10^(-(Ra - Rb) / 400)), a tie or a draw half a win",
               [](RateOptions& o, const char*) { return (o.backtest = true, std::string()); }},
    RateOption{"--help", "", "this text (also -h)",
               [](RateOptions& o, const char*) { return (o.help = true, std::string()); }, false},
    RateOption{"--version", "", "the program's version",
               [](RateOptions& o, const char*) { return (o.version = true, std::string()); }, false},
};

constexpr const char* kHead =
    "Usage: pelmora-rate [options] FILE|FOLDER|ARCHIVE.zip ...\n"
    "Reads Cricsheet ball-by-ball match files (JSON files, folders of them, or the .zip archives\n"
    "Cricsheet distributes), adds up every player's figures and fits his eight ratings by playing\n"
    "the archive's matches again in Pelmora's own engine (the same elevens, batting orders and\n"
    "bowlers), round after round, until his figures in them match his real ones.\n"
    "\n";

constexpr const char* kTail =
    "\n"
    "Shrinkage: a player with few balls is pulled towards the average. Each batting rate (runs\n"
    "per ball, outs per ball before and after he is in) is blended with the average of his usual\n"
    "batting position as if he had faced 100 more balls at that average; each bowling rate (runs\n"
    "and wickets per ball) with the average of all bowlers as if he had bowled 100 more balls.\n"
    "A rating resting on fewer than 30 of his own balls (faced, or bowled) is the prior of his\n"
    "role: the ball-weighted average of the batsmen of his usual position, or of all bowlers;\n"
    "players.csv's batRatedOnBalls and bowlRatedOnBalls give the balls each rests on (0: prior).\n"
    "\n"
    "Convention: tempos add and so do risk and threat, so only their sums are fixed by the data.\n"
    "Bowling terms are shifted one way and batting terms the other until the archive's average\n"
    "bowler, weighted by the balls he bowled, has bowlTempo 300 and bowlThreat 100.\n"
    "\n"
    "A file that is not a Cricsheet match or is damaged, a match file larger than 16 MB (an\n"
    "archive's entry unpacked), and an archive in a folder that cannot be opened are named on\n"
    "standard error and skipped. A side listing more than eleven is played again by the eleven\n"
    "who took part (a substitute in \"replacements\" in the place of the one he replaced); a\n"
    "match whose elevens cannot be made counts in the figures but is not played again, and how\n"
    "many and why is printed. Super overs are in no figure. Options other than --team and --side\n"
    "are given once. How many matches the filters left out, and by which option, is said in\n"
    "one line on standard error.\n"
    "While it reads and fits, a line on standard error shows how far it is, when that is a terminal.\n"
    "Exit status: 0 done; 1 no match to rate, no fixture forecast, an input or output cannot\n"
    "be read or written, or out of memory; 2 a refused command line: a bad or repeated option,\n"
    "--matches or --backtest without --forecast, a --forecast with --side, a --forecast or\n"
    "--styles that cannot be read, an --out that is not a folder that can be written, a\n"
    "--team, --side or --keeper not found in the matches read, men's and women's matches\n"
    "without --gender, or matches of several types without --match-type (the message gives\n"
    "the counts).\n";

}  // namespace

bool isDateText(const std::string& s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

std::string rateUsage()
{
    return std::string(kHead) + alignedOptionsHelp(std::span<const RateOption>(kRateOptions), 19) + kTail;
}

std::string readRateArguments(int argc, char** argv, RateOptions& o)
{
    std::array<int, kRateOptions.size()> seen{};
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "-h") == 0) a = "--help";
        if (std::strncmp(a, "--", 2) != 0) {
            o.inputs.push_back(a);
            continue;
        }
        const char* equals = std::strchr(a, '=');
        if (equals && equals[1] == '\0') return std::string(a) + " needs a value";
        std::string why = readOption(std::span<const RateOption>(kRateOptions), a, o, seen);
        if (!why.empty()) return why;
        if (o.help || o.version) return {};
    }
    if (o.inputs.empty()) return "no match files given";
    const MatchFilter& f = o.filter;
    if (!f.from.empty() && !f.to.empty() && f.to < f.from)
        return "--from=" + f.from + " is after --to=" + f.to + ": no match is within them";
    for (std::size_t s = 0; s < o.sides.size(); ++s)
        for (std::size_t t = 0; t < s; ++t)
            if (o.sides[t] != o.sides[s] && o.shortNames[t] == o.shortNames[s])
                return "--side=" + o.sides[t] + " and --side=" + o.sides[s] + " would both be called " +
                       o.shortNames[s] + " in their files: give one another with --side=NAME=SHORT";
    if (!o.keeper.empty() && o.sides.empty()) return "--keeper names the keeper of a --side eleven: give --side too";
    if (o.forecastDir.empty() && (o.backtest || o.playsPerFixture))
        return std::string(o.backtest ? "--backtest" : "--matches") + " goes with --forecast=DIR";
    if (!o.forecastDir.empty() && !o.sides.empty())
        return "--side writes the side of one fit, --forecast fits once per fixture day: give one of them";
    return {};
}
