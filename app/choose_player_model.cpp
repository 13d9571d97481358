#include "app/choose_player_model.h"

#include <cstdio>

#include "app/team_editor_model.h"
#include "engine/innings.h"
#include "resources/strings.h"

void ChoosePlayerModel::setup(Innings& innings, int batsman, int declareAllowed)
{
    innings_ = &innings;
    chooseBatsman = batsman;
    allowDeclare = declareAllowed;
    choice = -1;
    declared = 0;
    automatic = false;
    rowCount_ = 0;
    selected_ = -1;
}

void ChoosePlayerModel::fillRows()
{
    rowCount_ = 0;
    if (!innings_) return;
    if (chooseBatsman) {
        for (int p = 0; p < 11; ++p)
            if (innings_->positionOf(p) >= innings_->batsmenIn) rowMap_[rowCount_++] = p;
    } else if (innings_->bowlingTeam) {
        // When nobody may bowl (one-day quotas used up) the quota is waived
        // for this over, so the list is never empty for a side that can play.
        for (int b = 0; b < innings_->bowlingTeam->bowlerCount() && rowCount_ < 11; ++b)
            if (innings_->eligibleToBowl(b)) rowMap_[rowCount_++] = b;
    }
    selected_ = rowCount_ > 0 ? 0 : -1;
}

const char* ChoosePlayerModel::caption() const
{
    return loadString(chooseBatsman ? str::ChooseBatsman : str::ChooseBowler).data();
}

std::string ChoosePlayerModel::figureLine(int row) const
{
    if (!innings_ || row < 0 || row >= rowCount_) return {};
    char buf[96];
    if (chooseBatsman) {
        const Player* p = innings_->battingTeam->player(rowMap_[row]);
        std::snprintf(buf, sizeof buf, "%d %s %d %d %d", row, p->name(), p->batTempo, p->batRisk, p->batSurvival);
    } else {
        const Player* p = innings_->bowlingTeam->player(innings_->bowlingTeam->bowlerAt(rowMap_[row]));
        std::snprintf(buf, sizeof buf, "%d %s %d %d %d", row, p->name(), p->bowlTempo, p->bowlThreat, p->bowlStyle);
    }
    return buf;
}

std::string ChoosePlayerModel::bowlingFigures(int row) const
{
    if (!innings_ || chooseBatsman || row < 0 || row >= rowCount_) return {};
    const BowlingLine* l = innings_->bowlingLine(rowMap_[row]);
    if (!l) return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d-%d-%d-%d", l->balls / 6, l->maidens, l->runs, l->wickets);
    return buf;
}

std::vector<std::string> ChoosePlayerModel::headings() const
{
    const int first = chooseBatsman ? 0 : 5;  // the batting or the bowling ratings of a team file
    std::vector<std::string> out = {"No.", "Name"};
    for (int r = first; r < first + 3; ++r)
        out.emplace_back(EditorPlayer::ratingHeading(r));
    if (!chooseBatsman) out.emplace_back("Figures (O-M-R-W)");
    return out;
}

std::vector<std::string> ChoosePlayerModel::cells(int row) const
{
    if (!innings_ || row < 0 || row >= rowCount_) return {};
    const Team* team = chooseBatsman ? innings_->battingTeam : innings_->bowlingTeam;
    if (!team) return {};
    const int index = chooseBatsman ? rowMap_[row] : team->bowlerAt(rowMap_[row]);
    const Player* p = team->player(index);
    if (!p) return {};
    const int batting[] = {p->batTempo, p->batRisk, p->batSurvival};
    const int bowling[] = {p->bowlTempo, p->bowlThreat, p->bowlStyle};
    std::vector<std::string> out = {std::to_string(index + 1), p->name()};
    for (int rating : chooseBatsman ? batting : bowling)
        out.push_back(std::to_string(rating));
    if (chooseBatsman) return out;
    if (p->bowlStyle >= 0 && p->bowlStyle <= 2) out.back() = loadString(str::PaceStyle + p->bowlStyle);
    out.push_back(bowlingFigures(row));
    return out;
}

void ChoosePlayerModel::acceptSelection()
{
    if (selected_ >= 0 && selected_ < rowCount_) choice = rowMap_[selected_];
}

void ChoosePlayerModel::declare()
{
    declared = 1;
    acceptSelection();
}
