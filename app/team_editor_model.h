#pragma once
#include <array>
#include <string>
#include <vector>

#include "teams/team.h"

// One row of the team editor: a name and the eight ratings, in team-file order.
struct EditorPlayer {
    static constexpr int kRatings = 8;
    static constexpr int kIsKeeper = 3;  // the two flags among the ratings
    static constexpr int kIsBowler = 4;
    static constexpr int kBowlStyle = 7;

    std::string name;
    std::array<int, kRatings> ratings{};  // batTempo ... bowlStyle

    // The team file's name of rating i ("batTempo" ... "bowlStyle").
    static const char* ratingName(int i);
    // Rating i in words, for column headings ("Batting tempo" ... "Bowling style").
    static const char* ratingHeading(int i);
    bool keeps() const { return ratings[kIsKeeper] != 0; }
    // A keeper never bowls, whatever his row says (as loading reads him).
    bool bowls() const { return ratings[kIsBowler] != 0 && !keeps(); }
};

// Something that keeps the side from loading (Refused) or from playing a
// kind of match (CannotPlay); row is the player, -1 for the side.
struct EditorProblem {
    enum Severity { Refused, CannotPlay };
    Severity severity;
    int row;
    std::string text;
};

// A player of a players.csv: which side he plays for, and his row.
struct ListedPlayer {
    std::string side;
    EditorPlayer player;
};

// The side in the team editor: checked as loading and play check a side, and
// written as a team file that loads back to the same side.
class TeamEditorModel {
public:
    std::string name;
    std::array<EditorPlayer, Team::kPlayers> players;

    // Eleven unnamed players of middling ratings, no keeper and no bowlers.
    static TeamEditorModel newSide();
    void setTeam(const Team& team);
    // The team as the loader would read it from fileText().
    Team team() const;

    // In the order a user would fix them; empty when the side loads and plays
    // both kinds of match.
    std::vector<EditorProblem> problems() const;
    bool canSave() const;
    std::string fileText() const;
    // Written through a temporary file beside the target; false with a reason.
    bool save(const std::string& path, std::string& why) const;

    // The side's name and eleven from the players of a players.csv, in the
    // order given; names of several words are joined by '_' and cut to 15
    // characters, as a team file needs one word.
    void pick(const std::string& side, const std::vector<ListedPlayer>& eleven);
};

// The players of a players.csv: the columns named name, side and the eight
// ratings, in any order among others. False with a reason naming the line.
bool readPlayersCsv(const std::string& text, std::vector<ListedPlayer>& out, std::string& why);
// The sides of a players list, in order of first appearance.
std::vector<std::string> sidesOf(const std::vector<ListedPlayer>& players);
// A name as one word of at most 15 characters.
std::string oneWordName(const std::string& name);
