#include "MessageBox.h"

#include <QMessageBox>

#include "QtText.h"

namespace vostrel {

void showMessage(QWidget* owner, std::string_view title, std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok,
                    owner != nullptr && owner->isVisible() ? owner : nullptr);
    box.setObjectName(QStringLiteral("vostrelMessage"));
    box.exec();
}

}  // namespace vostrel
