#pragma once

#include <QPixmap>
#include <string_view>

namespace vostrel {

// The Windows bitmap the bytes hold; a null one when it is broken, or its header claims more than
// `maxSide` pixels on a side (then it is not decoded at all).
QPixmap decodePicture(std::string_view bytes, int maxSide);

}  // namespace vostrel
