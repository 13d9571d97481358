#pragma once
#include <string_view>

// A rectangle in client coordinates; right and bottom are exclusive.
struct CanvasRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // The common part of two rectangles (empty when they do not meet).
    static CanvasRect intersect(const CanvasRect& a, const CanvasRect& b)
    {
        CanvasRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                     a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
        if (r.empty()) r = CanvasRect{};
        return r;
    }
    bool operator==(const CanvasRect&) const = default;
};

// One of the scoreboard's seven colour pairs, components 0..255.
struct ColourPair {
    int textR, textG, textB;
    int backR, backG, backB;
};

// The scoreboard's colour pairs: 0 plain, 1 striker, 2 non-striker, 3 bowler
// of the current over, 4 names on the team sheet and batsmen yet to bat,
// 5 dismissed batsmen, 6 the score row.
inline constexpr ColourPair kScoreboardColours[7] = {
    {0, 0, 0, 255, 255, 255},   {255, 0, 0, 255, 255, 255}, {0, 0, 255, 255, 255, 255}, {127, 0, 0, 255, 255, 255},
    {0, 0, 127, 255, 255, 255}, {0, 127, 0, 255, 255, 255}, {255, 255, 255, 0, 0, 127},
};

// Where the scoreboard draws: text at a pixel position in a colour pair, on
// the window font's grid. The Qt window implements it with QPainter; tests
// record the calls.
class TextCanvas {
public:
    enum Options : unsigned {
        Opaque = 1,   // fill `rect` with the background colour first
        Clipped = 2,  // clip the text to `rect`
    };

    virtual ~TextCanvas() = default;
    // Text height of the window font (the row unit).
    virtual int lineHeight() const = 0;
    // Average character width of the window font (the column unit).
    virtual int charWidth() const = 0;
    // The client area down to the top edge of the Pause/Go button.
    virtual CanvasRect paintArea() const = 0;
    // Draws text with its top-left at (x, y); the text's own cells are drawn
    // on the background colour. `rect` is used as the options say; it may be
    // null when no option is given.
    virtual void drawText(int x, int y, std::string_view text, int colourEntry, const CanvasRect* rect,
                          unsigned options) = 0;
};
