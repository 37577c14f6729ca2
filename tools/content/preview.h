// preview.h: review sheets for people: every picture with its file name, and
// software renderings of the three models as the show draws them.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "pictures.h"

namespace content {

struct PaintedPicture {
    const PictureSpec* spec;
    Canvas canvas;
};

// Contact sheet of all pictures; full-screen ones are shown at 4:3.
Canvas contactSheet(const std::vector<PaintedPicture>& pictures);

}  // namespace content
