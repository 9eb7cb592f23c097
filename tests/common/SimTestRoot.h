// A throw-away host folder for tests that build a simulated Windows of their own.
#pragma once

#include "common/sim/SimRoot.h"

namespace orv::test {

using SimTestRoot = SimRoot;

}  // namespace orv::test
