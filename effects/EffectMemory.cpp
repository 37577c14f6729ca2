// EffectMemory.cpp: the end of the process when an effect's block is missing.
#include "effects/EffectMemory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/Message.h"

void failAllocation(const char* text, bool withMessageBox)
{
    // A failed new may leave errno untouched; the cause is then lack of memory.
    const int error = errno != 0 ? errno : ENOMEM;
    std::fprintf(stderr, "%s: %s\n", text, std::strerror(error));
    if (withMessageBox) showMessage(text, "MALLOC ERROR");
    // A show that could not build its objects has failed: say so to whoever
    // started it.
    std::exit(EXIT_FAILURE);
}
