#pragma once

#include "editor/HeadlessControls.h"

namespace tavrin::test {
using TableControls = HeadlessControls;
} // namespace tavrin::test
