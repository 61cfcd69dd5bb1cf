#pragma once

#include <QFont>

#include "forms/Definitions.h"

namespace vostrel {

// The first of the design's faces that is installed, else the system's face of the same pitch.
QFont qtFont(const forms::Font& font);

}  // namespace vostrel
