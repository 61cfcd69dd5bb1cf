#pragma once

#include <QFont>

namespace vostrel {

// The windows name two Japanese faces. Where they are not installed, their metric-compatible
// free stand-ins serve, and failing those the system's fixed-pitch or proportional bold face.
QFont gothicFont(int pointSize);   // fixed pitch, bold
QFont pGothicFont(int pointSize);  // proportional, bold

}  // namespace vostrel
