// text.h: lettering with FreeType and the DejaVu fonts.
//
// Text is rendered into a Mask (coverage) the size of the target picture, so
// effects (glow, outline, gradient fill) are plain mask operations. xScale
// narrows the letters: pictures stretched from a square to the 4:3 screen
// are drawn with xScale 0.75 so the letters look right when shown.
#pragma once

#include <string>

#include "canvas.h"

namespace content {

enum class Font { Sans, SansBold, SansCondensedBold, Serif, SerifBold, SerifBoldItalic, Mono, MonoBold };

enum class Align { Left, Centre, Right };

struct TextStyle {
    Font font = Font::SansBold;
    double pixelHeight = 32.0;  // em size in pixels
    double xScale = 1.0;
    double tracking = 0.0;      // extra pixels between letters
    Align align = Align::Centre;
};

// Width in pixels of the text in the given style.
double measureText(const std::string& text, const TextStyle& style);

// Render text into mask with its baseline at y and its anchor (left end,
// centre or right end, by style.align) at x. Coverage is max-blended.
void drawText(Mask& mask, const std::string& text, const TextStyle& style, double x, double y);

// Release the FreeType library and faces (called once at exit).
void shutdownText();

}  // namespace content
