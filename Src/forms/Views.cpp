#include "Views.h"

namespace vostrel::forms {

void placeFixedControls(FormView& view, const Form& form) {
    const int dpi = view.dpi();
    for (const Control& control : form.controls) {
        if (control.sizing == Sizing::Fixed) {
            view.setBounds(control.ref(), pixelRect(control.rect, dpi));
        }
    }
}

}  // namespace vostrel::forms
