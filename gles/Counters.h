// Counters.h: what the GL 1.x layer asks of the driver, counted.
//
// The layer counts its draws, the bytes it streams into buffers and
// textures, its program switches and uniform uploads, and the reads and
// copies of the framebuffer, so that a renderer can print them for a frame
// and a test can hold the fast path to them (a time would be too noisy on a
// shared machine). Counting costs a few additions a call. Pure: no GL.
#pragma once

#include <cstddef>
#include <string>

namespace gles {

struct Counters {
    unsigned draws = 0;            // glDrawArrays and glDrawElements made by the layer
    unsigned drawsLeftOut = 0;     // draws under a shut scissor box, not passed on
    unsigned bufferUploads = 0;    // writes into the vertex and index buffers
    std::size_t bufferBytes = 0;
    unsigned bufferAllocations = 0;  // buffer storage made or orphaned
    unsigned textureUploads = 0;   // glTexImage2D with pixels from memory
    std::size_t textureBytes = 0;
    unsigned programSwitches = 0;  // glUseProgram
    unsigned uniformUploads = 0;   // glUniform* calls
    unsigned readBacks = 0;        // glReadPixels
    unsigned framebufferCopies = 0;  // glCopyTexImage2D and glCopyTexSubImage2D, on the GPU
};

// The layer's counters since they were last reset.
Counters& counters();

// One line of "name value" pairs: "draws 1 buffer_uploads 1 ...".
std::string describe(const Counters& counts);

}  // namespace gles
