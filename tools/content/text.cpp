// text.cpp: FreeType rendering of Latin text into coverage masks.
// Needs FreeType 2 and the DejaVu TrueType fonts (QUORL_FONT_DIR).
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace content {

namespace {

// File name of each font within the DejaVu folder.
const char* fontFile(Font font) {
    switch (font) {
        case Font::Sans: return "DejaVuSans.ttf";
        case Font::SansBold: return "DejaVuSans-Bold.ttf";
        case Font::SansCondensedBold: return "DejaVuSansCondensed-Bold.ttf";
        case Font::Serif: return "DejaVuSerif.ttf";
        case Font::SerifBold: return "DejaVuSerif-Bold.ttf";
        case Font::SerifBoldItalic: return "DejaVuSerif-BoldItalic.ttf";
        case Font::Mono: return "DejaVuSansMono.ttf";
        case Font::MonoBold: return "DejaVuSansMono-Bold.ttf";
    }
    return "DejaVuSans.ttf";
}

// FreeType and the faces opened so far, kept for the whole run.
struct Library {
    FT_Library lib = nullptr;
    std::array<FT_Face, 8> faces{};
};

Library& library() {
    static Library l;
    if (!l.lib && FT_Init_FreeType(&l.lib) != 0) {
        std::fprintf(stderr, "make-content: FreeType cannot start\n");
        std::exit(1);
    }
    return l;
}

// The face for a font at the given size and horizontal scale; loads it once.
FT_Face face(const TextStyle& style) {
    Library& l = library();
    const size_t idx = static_cast<size_t>(style.font);
    if (!l.faces[idx]) {
        const std::string path = std::string(QUORL_FONT_DIR) + "/" + fontFile(style.font);
        if (FT_New_Face(l.lib, path.c_str(), 0, &l.faces[idx]) != 0) {
            std::fprintf(stderr, "make-content: cannot open font %s\n", path.c_str());
            std::exit(1);
        }
    }
    FT_Face f = l.faces[idx];
    // Size in 26.6 fixed point; the transform narrows or widens the glyphs.
    FT_Set_Char_Size(f, 0, static_cast<FT_F26Dot6>(std::lround(style.pixelHeight * 64.0)), 72, 72);
    FT_Matrix m;
    m.xx = static_cast<FT_Fixed>(std::lround(style.xScale * 65536.0));
    m.xy = 0;
    m.yx = 0;
    m.yy = 0x10000;
    FT_Set_Transform(f, &m, nullptr);
    return f;
}

// Walk the glyphs of text, calling fn(glyph slot, pen x in 26.6) for each.
template <typename Fn>
double layout(const std::string& text, const TextStyle& style, Fn&& fn) {
    FT_Face f = face(style);
    const bool kern = FT_HAS_KERNING(f);
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    const FT_Pos tracking = static_cast<FT_Pos>(std::lround(style.tracking * 64.0));
    for (const unsigned char ch : text) {
        const FT_UInt glyph = FT_Get_Char_Index(f, ch);
        if (kern && previous && glyph) {
            FT_Vector delta;
            FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &delta);
            pen += static_cast<FT_Pos>(std::lround(delta.x * style.xScale));
        }
        if (FT_Load_Glyph(f, glyph, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) continue;
        fn(f->glyph, pen);
        pen += f->glyph->advance.x + tracking;
        previous = glyph;
    }
    return (pen - tracking) / 64.0;
}

}  // namespace

// Same walk as drawing, without touching pixels.
double measureText(const std::string& text, const TextStyle& style) {
    return layout(text, style, [](FT_GlyphSlot, FT_Pos) {});
}

void drawText(Mask& mask, const std::string& text, const TextStyle& style, double x, double y) {
    const double width = measureText(text, style);
    double left = x;
    if (style.align == Align::Centre) left = x - width * 0.5;
    if (style.align == Align::Right) left = x - width;
    // Whole-pixel origin keeps glyph bitmaps on the pixel grid.
    const int ox = static_cast<int>(std::floor(left + 0.5));
    const int oy = static_cast<int>(std::floor(y + 0.5));
    layout(text, style, [&](FT_GlyphSlot g, FT_Pos pen) {
        const FT_Bitmap& bm = g->bitmap;
        const int gx = ox + static_cast<int>(pen >> 6) + g->bitmap_left;
        const int gy = oy - g->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row) {
            for (unsigned col = 0; col < bm.width; ++col) {
                const int px = gx + static_cast<int>(col);
                const int py = gy + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= mask.width() || py >= mask.height()) continue;
                const double v = bm.buffer[row * static_cast<unsigned>(bm.pitch) + col] / 255.0;
                mask.at(px, py) = std::max(mask.at(px, py), v);
            }
        }
    });
}

void shutdownText() {
    Library& l = library();
    for (FT_Face& f : l.faces) {
        if (f) FT_Done_Face(f);
        f = nullptr;
    }
    FT_Done_FreeType(l.lib);
    l.lib = nullptr;
}

}  // namespace content
