#pragma once
#include <functional>
#include <string>
#include <vector>

class Innings;

// The logic of the choose-player dialog: which rows it lists (batsmen who have
// not batted, or bowlers who may bowl the next over), what the figure lines
// say, and what the answer is. The window system only shows it.
class ChoosePlayerModel {
public:
    void setup(Innings& innings, int chooseBatsman, int allowDeclare);
    // Builds the rows and selects the first; call when the dialog opens.
    void fillRows();

    const char* caption() const;
    int rowCount() const { return rowCount_; }
    int rowMap(int row) const { return (row >= 0 && row < rowCount_) ? rowMap_[row] : -1; }
    // "%d %s %d %d %d": the row, the name and three ratings.
    std::string figureLine(int row) const;
    // Bowler mode: "overs-maidens-runs-wickets" of this innings; empty otherwise.
    std::string bowlingFigures(int row) const;
    // The list's columns: the player's number in his side, his name, the
    // three ratings of the mode and, for a bowler, his figures so far.
    std::vector<std::string> headings() const;
    std::vector<std::string> cells(int row) const;

    int selectedRow() const { return selected_; }
    void select(int row) { selected_ = (row >= 0 && row < rowCount_) ? row : -1; }
    // Takes the selected row as the answer; with none the answer stays.
    void acceptSelection();
    void declare();
    // The Options button: the Game Options dialog without the game type.
    void openOptions()
    {
        if (optionsHandler) optionsHandler();
    }
    // The innings asked about (none before setup).
    Innings* innings() const { return innings_; }

    int chooseBatsman = 1;
    int allowDeclare = 0;
    int choice = -1;
    int declared = 0;
    bool automatic = false;  // answered by the automatic bowler choice
    std::function<void()> optionsHandler;

private:
    Innings* innings_ = nullptr;
    int rowMap_[11] = {};
    int rowCount_ = 0;
    int selected_ = -1;
};
