#include "analysis/charts.h"

#include "match/match.h"

std::vector<InningsChart> chartData(const Match& match)
{
    std::vector<InningsChart> charts;
    for (int k = 0; k < match.inningsCount && k < 4; ++k) {
        const Innings& inn = match.innings[k];
        if (!inn.battingTeam || inn.deliveries == 0) continue;
        InningsChart chart;
        chart.team = inn.battingTeam->name();
        int legalBefore = 0, scoreBefore = 0;
        for (int i = 0; i < inn.deliveries; ++i) {
            const BallRecord& r = inn.ballRecord(i);
            const std::size_t over = static_cast<std::size_t>(legalBefore / 6);
            if (chart.overs.size() <= over) chart.overs.resize(over + 1);
            chart.overs[over].runs += r.scoreAfter - scoreBefore;
            if (r.event == Wicket) ++chart.overs[over].wickets;
            scoreBefore = r.scoreAfter;
            if (r.delivery == Legal) ++legalBefore;
        }
        charts.push_back(std::move(chart));
    }
    return charts;
}
