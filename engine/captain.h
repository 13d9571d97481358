#pragma once

class Innings;

// The answer to the question of the next batsman or the next bowler.
struct ChoiceResult {
    int choice = -1;  // player index (batsman) or bowler position (bowler); -1 none
    int declared = 0;
};

// Who answers an innings' questions: the user through the choice dialog, or
// nobody (autoplay), when the innings makes its own choices.
class Captain {
public:
    virtual ~Captain() = default;
    virtual int autoplay() const = 0;
    virtual ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare) = 0;
};
