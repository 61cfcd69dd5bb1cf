#include "Faces.h"

#include <string>

#include "Bitmap.h"

namespace vostrel::web {

namespace {

const forms::Form& design(int window) {
    return window == 0 ? forms::mainForm() : forms::aboutForm();
}

int id(forms::Id control) {
    return static_cast<int>(control);
}

}  // namespace

template <class Face, int Window>
int FormFace<Face, Window>::frameWidth(forms::Id control) const {
    return forms::borderPixels(forms::control(design(Window), control).border);
}

template <class Face, int Window>
forms::TextSize FormFace<Face, Window>::measureText(forms::Id control,
                                                    std::string_view text) const {
    int size[2] = {};
    page_measure(Window, id(control), std::string(text).c_str(), size);
    return {size[0], size[1]};
}

template <class Face, int Window>
void FormFace<Face, Window>::setCaption(forms::Id control, std::string_view text) {
    page_caption(Window, id(control), std::string(text).c_str());
}

template <class Face, int Window>
void FormFace<Face, Window>::setBounds(forms::ControlRef control, const forms::Rect& bounds) {
    page_bounds(Window, id(control.id), control.index, bounds.left, bounds.top, bounds.width,
                bounds.height);
}

template <class Face, int Window>
void FormFace<Face, Window>::setSpokenName(forms::Id control, std::string_view name) {
    page_spoken(Window, id(control), std::string(name).c_str());
}

template <class Face, int Window>
void FormFace<Face, Window>::setFocus(forms::ControlRef control) {
    page_focus(Window, id(control.id), control.index);
}

template <class Face, int Window>
std::optional<forms::ControlRef> FormFace<Face, Window>::focus() const {
    const int focused = page_focused(Window);
    if (focused < 0) {
        return std::nullopt;
    }
    return forms::ControlRef{static_cast<forms::Id>(focused / 32), focused % 32 - 1};
}

template <class Face, int Window>
void FormFace<Face, Window>::showMessage(std::string_view title, std::string_view text,
                                         std::function<void()> then) {
    then_ = std::move(then);
    page_message(Window, std::string(title).c_str(), std::string(text).c_str());
}

template <class Face, int Window>
void FormFace<Face, Window>::messageClosed() {
    // Taken first: what follows may show another message.
    auto then = std::move(then_);
    then_ = nullptr;
    if (then) {
        then();
    }
}

template class FormFace<vostrel::MainFace, 0>;
template class FormFace<vostrel::AboutFace, 1>;

AboutFace::AboutFace(frmAbout& form) : form_(form) {
    forms::placeFixedControls(*this, forms::aboutForm());
}

void AboutFace::setTitle(std::string_view text) {
    page_title(std::string(text).c_str());
}

MainFace::MainFace(forms::Arrangement arranged) : arranged_(arranged) {
    showArrangement();
    forms::placeFixedControls(*this, arrangement());
}

bool MainFace::arrange(forms::Arrangement arranged) {
    if (arranged.form == arranged_.form && arranged.dpi == arranged_.dpi) {
        return false;
    }
    arranged_ = arranged;
    showArrangement();
    return true;
}

void MainFace::showArrangement() const {
    const forms::Form& form = arrangement();
    page_arranged(&form == &forms::mainForm() ? 0 : 1, forms::pixels(form.clientWidth, dpi()),
                  forms::pixels(form.clientHeight, dpi()), dpi());
}

void MainFace::setEnabled(forms::Id control, int index, bool enabled) {
    page_enabled(id(control), index, enabled);
}

PictureSize MainFace::showPicture(std::string_view bytes, int maxSide) {
    const Bitmap picture = decodeBmp(bytes, maxSide);
    if (picture.rgba.empty()) {
        return {};
    }
    page_picture(picture.rgba.data(), picture.width, picture.height);
    return {picture.width, picture.height};
}

void MainFace::showBlankPicture(PictureSize size) {
    page_picture(nullptr, size.width, size.height);
}

void MainFace::announce(std::string_view utterance) {
    page_announce(std::string(utterance).c_str());
}

vostrel::AboutFace& MainFace::aboutFace(frmAbout& form) {
    if (about_ == nullptr) {
        about_ = std::make_unique<AboutFace>(form);
    }
    return *about_;
}

}  // namespace vostrel::web
