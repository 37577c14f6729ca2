// preview.cpp: the contact sheet of all pictures.
#include "preview.h"

#include <algorithm>
#include <cstdio>

#include "paint.h"

namespace content {

namespace {

constexpr int SHEET_COLUMNS = 5;
constexpr int CELL_W = 272;
constexpr int CELL_H = 250;
constexpr int THUMB = 256;  // longest side of a thumbnail
constexpr int HEADER = 48;

// Copy src into dst at (ox, oy), clipped at dst's border.
void blit(Canvas& dst, const Canvas& src, int ox, int oy) {
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const int tx = ox + x;
            const int ty = oy + y;
            if (tx >= 0 && ty >= 0 && tx < dst.width() && ty < dst.height()) dst.at(tx, ty) = src.at(x, y);
        }
}

}  // namespace

// Five pictures a row; each thumbnail centred in its cell over its caption.
Canvas contactSheet(const std::vector<PaintedPicture>& pictures) {
    const int count = static_cast<int>(pictures.size());
    const int rows = (count + SHEET_COLUMNS - 1) / SHEET_COLUMNS;
    Canvas sheet(SHEET_COLUMNS * CELL_W + 16, HEADER + rows * CELL_H + 8);
    sheet.shade([](double, double) { return rgb8(28, 28, 34); });
    Mask text(sheet.width(), sheet.height());
    TextStyle head;
    head.font = Font::SansBold;
    head.pixelHeight = 22.0;
    head.align = Align::Left;
    drawText(text, "Quorl-H pictures (full-screen ones shown at 4:3, as the show stretches them)", head, 16.0, 32.0);
    TextStyle label;
    label.font = Font::Sans;
    label.pixelHeight = 14.0;
    for (int i = 0; i < count; ++i) {
        const PaintedPicture& p = pictures[static_cast<size_t>(i)];
        const int cx = 8 + (i % SHEET_COLUMNS) * CELL_W;
        const int cy = HEADER + (i / SHEET_COLUMNS) * CELL_H;
        int tw = THUMB;
        int th = THUMB;
        // Full-screen pictures are shown at the 4:3 the show stretches them to.
        if (p.spec->fullScreen) th = THUMB * 3 / 4;
        else tw = th = THUMB * 3 / 4 + 8;
        const Canvas thumb = p.canvas.resized(tw, th);
        const int ox = cx + (CELL_W - tw) / 2;
        const int oy = cy + (200 - th) / 2;
        blit(sheet, thumb, ox, oy);
        char caption[128];
        std::snprintf(caption, sizeof caption, "%s  %dx%d", p.spec->file, p.spec->width, p.spec->height);
        drawText(text, caption, label, cx + CELL_W * 0.5, cy + 222.0);
    }
    sheet.paint(text, rgb8(235, 235, 240));
    return sheet;
}

}  // namespace content
