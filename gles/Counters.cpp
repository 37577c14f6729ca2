// Counters.cpp: the layer's counters and their printed form.
#include "gles/Counters.h"

#include <cstdio>

namespace gles {

Counters& counters()
{
    static Counters counts;
    return counts;
}

std::string describe(const Counters& c)
{
    char line[320];
    std::snprintf(line, sizeof line,
                  "draws %u buffer_uploads %u buffer_bytes %zu buffer_allocations %u texture_uploads %u "
                  "texture_bytes %zu program_switches %u uniform_uploads %u read_backs %u framebuffer_copies %u "
                  "draws_left_out %u",
                  c.draws, c.bufferUploads, c.bufferBytes, c.bufferAllocations, c.textureUploads, c.textureBytes,
                  c.programSwitches, c.uniformUploads, c.readBacks, c.framebufferCopies, c.drawsLeftOut);
    return line;
}

}  // namespace gles
