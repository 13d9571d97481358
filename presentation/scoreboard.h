#pragma once
#include <string>

#include "presentation/text_canvas.h"

class Match;
struct RepaintHint;

// The live display of the main window: the team sheet before play, then the
// batting and bowling cards, the extras, score and partnership rows and the
// commentary of the current innings, on a grid of rows (font height) and
// columns (average character width). It keeps no state: every paint reads
// the match afresh. The match never knows it is being drawn.
class Scoreboard {
public:
    // update: the area to repaint (null: the whole paint area).
    // hint: repaint only the four hinted lines, the summary and the
    // commentary (null: everything, then the highlight pass).
    static void paint(TextCanvas& canvas, const Match& match, const CanvasRect* update, const RepaintHint* hint);

    // The board in words, for assistive technology: the score row as painted,
    // the two batsmen at the crease, the bowler and the latest commentary
    // line of the innings in play. All empty before play.
    struct Spoken {
        std::string score, batsmen, bowler, commentary;
    };
    static Spoken spoken(const Match& match);
};
