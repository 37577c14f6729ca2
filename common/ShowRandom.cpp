// ShowRandom.cpp: the program-wide instance of the generator.
#include "common/ShowRandom.h"

namespace {
ShowRandom programRandom;
}

int showRandom() { return programRandom.next(); }

void resetShowRandom() { programRandom = ShowRandom{}; }
