#pragma once

#include <string_view>

class QWidget;

namespace vostrel {

// A modal message with an OK button and no icon, owned by and centred on `owner` once that is on
// the screen.
void showMessage(QWidget* owner, std::string_view title, std::string_view text);

}  // namespace vostrel
