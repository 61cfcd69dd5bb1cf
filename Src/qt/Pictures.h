#pragma once

#include <QPixmap>
#include <string_view>

namespace vostrel {

// The picture the bytes hold; a null one when the format is unknown, the picture is broken, or
// its header claims more than `maxSide` pixels on a side (then it is not decoded at all).
QPixmap decodePicture(std::string_view bytes, int maxSide);

}  // namespace vostrel
