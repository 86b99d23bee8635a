#pragma once

#include "platform/HeadlessGui.h"

namespace tavrin::test {
using tavrin::EnsureGuiApplication;
} // namespace tavrin::test
