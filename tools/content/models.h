// models.h: the show's three 3DS models and what is done with them.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"
#include "mesh.h"

namespace content {

// allt.3ds, fish.3ds and boxtex.3ds, in that order.
std::vector<ModelFile> buildModels();

ModelFile buildSculpture();  // allt.3ds (model_allt.cpp)
ModelFile buildFish();       // fish.3ds (model_fish.cpp)
ModelFile buildBox();        // boxtex.3ds (model_box.cpp)

// The 3DS bytes of a model (writer3ds.cpp).
std::vector<uint8_t> encode3ds(const ModelFile& model);

// Software renderings of the models for review (render.cpp); atlas is the
// box3.bmp picture the textured models wear.
Canvas modelSheet(const std::vector<ModelFile>& models, const Canvas& atlas);

}  // namespace content
