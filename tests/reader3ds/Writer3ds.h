// Writer3ds.h: the tests' older name for the shared 3DS writer in
// tools/writers, so tests written against test3ds:: keep compiling.
#pragma once

#include "tools/writers/Writer3ds.h"

namespace test3ds = writers;
