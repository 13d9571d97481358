#include "rating/figures.h"

#include <algorithm>
#include <cctype>

void Figures::add(const Figures& o)
{
    matches += o.matches;
    innings += o.innings;
    balls += o.balls;
    runs += o.runs;
    outs += o.outs;
    fours += o.fours;
    sixes += o.sixes;
    earlyBalls += o.earlyBalls;
    earlyOuts += o.earlyOuts;
    lateBalls += o.lateBalls;
    lateOuts += o.lateOuts;
    for (int i = 0; i < 11; ++i)
        atPosition[i] += o.atPosition[i];
    bowlBalls += o.bowlBalls;
    conceded += o.conceded;
    wickets += o.wickets;
    wides += o.wides;
    noBalls += o.noBalls;
    matchesBowled += o.matchesBowled;
    inningsBowled += o.inningsBowled;
    openedBowling += o.openedBowling;
    firstChange += o.firstChange;
    catches += o.catches;
    stumpings += o.stumpings;
}

int styleByUse(const Figures& f)
{
    if (2 * f.openedBowling >= f.inningsBowled && f.openedBowling > 0) return 2;
    if (2 * f.firstChange >= f.inningsBowled && f.firstChange > 0) return 1;
    return 0;
}

int Figures::usualPosition() const
{
    int best = 10;
    for (int i = 0; i < 11; ++i)
        if (atPosition[i] > atPosition[best]) best = i;
    return best + 1;
}

namespace {

bool creditsBowler(OutKind kind)
{
    return kind == OutKind::Bowled || kind == OutKind::Caught || kind == OutKind::CaughtAndBowled ||
           kind == OutKind::Lbw || kind == OutKind::Stumped || kind == OutKind::HitWicket;
}

bool isOut(OutKind kind)
{
    return kind != OutKind::RetiredHurt && kind != OutKind::RetiredNotOut;
}

}  // namespace

void addMatchFigures(const MatchRecord& match, Figures* const* batting, Figures* const* bowling)
{
    const std::size_t n = match.people.size();
    std::vector<int> ballsNow(n), runsNow(n), arrival(n);
    std::vector<char> bowled(n, 0), played(n, 0);
    for (int i = 0; i < match.listed; ++i)
        played[static_cast<std::size_t>(i)] = 1;
    for (const InningsRecord& inn : match.innings) {
        std::fill(ballsNow.begin(), ballsNow.end(), 0);
        std::fill(runsNow.begin(), runsNow.end(), 0);
        std::fill(arrival.begin(), arrival.end(), 0);
        int arrived = 0;
        auto arrive = [&](int person) {
            if (person < 0 || arrival[person]) return;
            arrival[person] = ++arrived;
            played[person] = 1;
            if (Figures* f = batting[person]) {
                ++f->innings;
                ++f->atPosition[std::min(arrived, 11) - 1];
            }
        };
        for (const DeliveryRecord& d : inn.deliveries) {
            arrive(d.batter);
            arrive(d.nonStriker);
            bowled[d.bowler] = played[d.bowler] = 1;
            const bool wide = d.wides > 0, noBall = d.noBalls > 0;
            // Judged before this ball is counted, as the engine does.
            auto isIn = [&](int p) { return ballsNow[p] >= 8 || runsNow[p] >= 8; };
            const bool batterIn = isIn(d.batter);
            for (int w = 0; w < d.wicketCount; ++w) {
                const WicketRecord& wk = d.wickets[w];
                if (wk.playerOut < 0) continue;
                if (isOut(wk.kind)) {
                    if (Figures* f = batting[wk.playerOut]) {
                        ++f->outs;
                        ++(isIn(wk.playerOut) ? f->lateOuts : f->earlyOuts);
                    }
                }
                if (creditsBowler(wk.kind)) {
                    if (Figures* f = bowling[d.bowler]) ++f->wickets;
                }
                if (wk.fielder >= 0) {
                    if (Figures* f = batting[wk.fielder]) {
                        if (wk.kind == OutKind::Stumped)
                            ++f->stumpings;
                        else if (wk.kind == OutKind::Caught || wk.kind == OutKind::CaughtAndBowled)
                            ++f->catches;
                    }
                }
            }
            if (Figures* f = batting[d.batter]) {
                if (!wide) {
                    ++f->balls;
                    ++(batterIn ? f->lateBalls : f->earlyBalls);
                }
                f->runs += d.batterRuns;
                if (d.boundary && d.batterRuns == 4) ++f->fours;
                if (d.boundary && d.batterRuns == 6) ++f->sixes;
            }
            if (!wide) ++ballsNow[d.batter];
            runsNow[d.batter] += d.batterRuns;
            if (Figures* f = bowling[d.bowler]) {
                const int conceded = d.batterRuns + d.wides + d.noBalls;
                if (!wide && !noBall) ++f->bowlBalls;
                f->conceded += conceded;
                if (wide) ++f->wides;
                if (noBall) ++f->noBalls;
            }
        }
    }
    // The bowler of each over, to see who opened and who came on first after.
    for (const InningsRecord& inn : match.innings) {
        int overBowler[3] = {-1, -1, -1};  // overs 1 and 2, then the first change
        std::vector<char> bowledHere(n, 0);
        const int earlyOvers = match.overs > 0 ? match.overs / 5 : 10;  // ten without a limit
        int lastOver = -1;
        for (const DeliveryRecord& d : inn.deliveries) {
            bowledHere[d.bowler] = 1;
            if (d.over == lastOver) continue;
            lastOver = d.over;
            if (d.over < 2)
                overBowler[d.over] = d.bowler;
            else if (overBowler[2] == -1 && d.bowler != overBowler[0] && d.bowler != overBowler[1])
                overBowler[2] = d.over < earlyOvers ? d.bowler : -2;  // -2: he came on too late
        }
        for (std::size_t i = 0; i < n; ++i) {
            Figures* f = bowling[i];
            if (!bowledHere[i] || !f) continue;
            ++f->inningsBowled;
            const int person = static_cast<int>(i);
            if (person == overBowler[0] || person == overBowler[1])
                ++f->openedBowling;
            else if (person == overBowler[2])
                ++f->firstChange;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!played[i]) continue;
        if (batting[i]) ++batting[i]->matches;
        if (bowled[i] && bowling[i]) ++bowling[i]->matchesBowled;
    }
}

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool formatFits(MatchFilter::Format format, int overs, const MatchRecord& m)
{
    switch (format) {
    case MatchFilter::Format::Any: return true;
    case MatchFilter::Format::OneDay:
        return m.matchType == "ODI" || m.matchType == "ODM" || (m.overs == 50 && m.matchType != "Test");
    case MatchFilter::Format::Test: return m.matchType == "Test" || m.matchType == "MDM";
    case MatchFilter::Format::Overs: return m.overs == overs;
    }
    return true;
}

}  // namespace

std::string MatchFilter::leftOutBy(const MatchRecord& m) const
{
    if (!formatFits(format, overs, m)) return "--format";
    if (!matchType.empty() && !sameIgnoringCase(m.matchType, matchType)) return "--match-type";
    if (!teamType.empty() && !sameIgnoringCase(m.teamType, teamType)) return "--team-type";
    if (!event.empty() && m.event != event) return "--event";
    if (!gender.empty() && m.gender != gender) return "--gender";
    if (!from.empty() && m.firstDate < from) return "--from";
    if (!to.empty() && m.firstDate > to) return "--to";
    if (!teams.empty() && std::find(teams.begin(), teams.end(), m.sides[0]) == teams.end() &&
        std::find(teams.begin(), teams.end(), m.sides[1]) == teams.end())
        return "--team";
    return {};
}

int Archive::playerIndex(const MatchRecord& match, int person)
{
    const PersonRecord& p = match.people[static_cast<std::size_t>(person)];
    const std::string& side = match.sides[p.side];
    const std::string key = p.id.empty() ? p.name + "|" + side : p.id;
    const auto [it, added] = index_.emplace(key, static_cast<int>(players.size()));
    if (added) {
        players.push_back(PlayerRecord{key, p.id, p.name, side, {}});
        lastSeen_.emplace_back();
    }
    return it->second;
}

void Archive::add(const MatchRecord& match, std::int64_t sequence)
{
    ++matches;
    const std::size_t n = match.people.size();
    std::vector<int> index(n);
    std::vector<Figures> figures(n);
    std::vector<Figures*> pointers(n);
    for (std::size_t i = 0; i < n; ++i) {
        index[i] = playerIndex(match, static_cast<int>(i));
        pointers[i] = &figures[i];
    }
    addMatchFigures(match, pointers.data(), pointers.data());
    const std::pair<std::string, std::int64_t> when{match.date, sequence};
    for (std::size_t i = 0; i < n; ++i) {
        PlayerRecord& p = players[static_cast<std::size_t>(index[i])];
        p.figures.add(figures[i]);
        if (figures[i].bowlBalls > 0) bowledFor[match.sides[match.people[i].side]].insert(index[i]);
        if (figures[i].matches == 0) continue;
        auto& seen = lastSeen_[static_cast<std::size_t>(index[i])];
        if (when >= seen) {
            seen = when;
            p.side = match.sides[match.people[i].side];
        }
    }

    // The eleven of each side, in the order they came in to bat, then as listed.
    std::vector<char> tookPart(n, 0);
    for (const InningsRecord& inn : match.innings)
        for (const DeliveryRecord& d : inn.deliveries) {
            for (int person : {d.batter, d.nonStriker, d.bowler})
                if (person >= 0) tookPart[static_cast<std::size_t>(person)] = 1;
            for (int w = 0; w < d.wicketCount; ++w)
                if (d.wickets[w].fielder >= 0) tookPart[static_cast<std::size_t>(d.wickets[w].fielder)] = 1;
        }
    // Empty when the eleven is made, else why not.
    auto elevenOf = [&](int s, Eleven& e) -> std::string {
        std::vector<int> order;
        std::vector<char> taken(n, 0);
        int listed = 0;
        auto take = [&](int person) {
            if (person < 0 || taken[person] || match.people[person].side != s) return;
            taken[person] = 1;
            order.push_back(person);
        };
        for (const InningsRecord& inn : match.innings) {
            if (inn.side != s) continue;
            for (const DeliveryRecord& d : inn.deliveries) {
                take(d.batter);
                take(d.nonStriker);
            }
            break;
        }
        for (int i = 0; i < match.listed; ++i) {
            listed += match.people[static_cast<std::size_t>(i)].side == s;
            take(i);
        }
        for (const ReplacementRecord& r : match.replacements)
            take(r.in);
        // More than eleven: a substitute who took part plays in the place of the
        // one he replaced; anyone else beyond eleven who took no part is left out.
        if (order.size() > 11) {
            for (const ReplacementRecord& r : match.replacements) {
                const auto in = std::find(order.begin(), order.end(), r.in);
                const auto out = std::find(order.begin(), order.end(), r.out);
                if (in == order.end() || out == order.end() || !tookPart[static_cast<std::size_t>(r.in)]) continue;
                *out = r.in;
                order.erase(in);
            }
            for (std::size_t k = order.size(); k-- > 0 && order.size() > 11;)
                if (!tookPart[static_cast<std::size_t>(order[k])]) order.erase(order.begin() + static_cast<long>(k));
        }
        e.players.clear();
        e.bowled.clear();
        for (int person : order) {
            e.players.push_back(index[person]);
            e.bowled.push_back(figures[person].matchesBowled > 0);
        }
        if (order.size() < 11) return "a side names fewer than eleven players";
        if (order.size() > 11)
            return "a side lists " + std::to_string(listed) + " players and " + std::to_string(order.size()) +
                   " of them took part";
        return {};
    };
    for (int s = 0; s < 2; ++s) {
        LatestEleven& l = latest[match.sides[s]];
        if (std::make_pair(l.date, l.sequence) > when) continue;
        l.date = match.date;
        l.sequence = sequence;
        elevenOf(s, l);
    }
    Fixture fixture;
    fixture.overs = match.overs;
    const int first = match.innings.empty() ? 0 : match.innings[0].side;
    std::string why = elevenOf(first, fixture.sides[0]);
    if (const std::string other = elevenOf(1 - first, fixture.sides[1]); why.empty()) why = other;
    if (why.empty())
        fixtures.push_back(std::move(fixture));
    else
        ++notReplayed[why];
}
