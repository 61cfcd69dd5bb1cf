#include "Faces.h"

namespace vostrel::forms {

void placeFixedControls(FormFace& view, const Form& form) {
    const int dpi = view.dpi();
    for (const Control& each : form.controls) {
        if (each.sizing == Sizing::Fixed) {
            view.setBounds(each.ref(), pixelRect(each.rect, dpi));
        }
    }
}

}  // namespace vostrel::forms
