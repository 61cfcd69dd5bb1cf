#pragma once

#include <QString>

namespace vostrel {

// A modal message with an OK button and no icon, titled with the application's name.
void showMessage(const QString& text);

}  // namespace vostrel
