#include "presentation/scoreboard.h"

#include "match/match.h"

void Scoreboard::paint(TextCanvas&, const Match&, const CanvasRect*, const RepaintHint*) {}
