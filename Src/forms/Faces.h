#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "Definitions.h"
#include "Keyboard.h"
#include "Layout.h"

namespace vostrel {

class frmAbout;

// What the windows' procedures ask of a window on the screen. Each toolkit implements these and
// decides nothing itself: every caption, place, state, message, spoken word and move of the
// focus comes from the procedures. Texts are UTF-8.
class FormFace {
public:
    virtual ~FormFace() = default;

    // The pixel density the window is drawn at; the design's twips are turned into pixels at it.
    [[nodiscard]] virtual int dpi() const = 0;
    // How the keys of the system the window stands on differ from the others'.
    [[nodiscard]] virtual const forms::Conventions& conventions() const = 0;
    // How many pixels the frame of a control takes on each side.
    [[nodiscard]] virtual int frameWidth(forms::Id control) const = 0;
    [[nodiscard]] virtual forms::TextSize measureText(forms::Id control,
                                                      std::string_view text) const = 0;

    virtual void setCaption(forms::Id control, std::string_view text) = 0;
    virtual void setBounds(forms::ControlRef control, const forms::Rect& bounds) = 0;
    // The words a screen reader says for a control. Called only when they change.
    virtual void setSpokenName(forms::Id control, std::string_view name) = 0;
    // Gives the keyboard focus to a control; a window not yet shown gives it as it is shown.
    virtual void setFocus(forms::ControlRef control) = 0;
    // The control of this window that has the focus, or had it last while another window was
    // active.
    [[nodiscard]] virtual std::optional<forms::ControlRef> focus() const = 0;
    // Modal over this window, with an OK button and no icon. `then` runs once the player has
    // dismissed it; a toolkit that can wait for that returns only after `then`, one that cannot
    // returns at once.
    virtual void showMessage(std::string_view title, std::string_view text,
                             std::function<void()> then) = 0;
    // Takes the window off the screen; the program ends when no window is left.
    virtual void unload() = 0;
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

class MainFace : public FormFace {
public:
    // Where the controls stand: the design's own arrangement, or another of the same controls
    // that suits the screen better. After a change the face calls Form_DpiChanged.
    [[nodiscard]] virtual const forms::Form& arrangement() const { return forms::mainForm(); }
    virtual void setEnabled(forms::Id control, int index, bool enabled) = 0;
    // Shows the Windows bitmap the bytes hold in HUNG_PICT, unless it is broken or its header
    // claims more than `maxSide` pixels on a side (then it is not even decoded). Returns its size
    // in pixels, or an empty size when nothing was shown.
    virtual PictureSize showPicture(std::string_view bytes, int maxSide) = 0;
    // An empty picture in the picture area's ground.
    virtual void showBlankPicture(PictureSize size) = 0;
    // Tells assistive technology, unasked, what the control now says.
    virtual void alert(forms::Id control) = 0;
    // Has a screen reader say `utterance` now, once, without moving the focus or changing
    // anything on the screen.
    virtual void announce(std::string_view utterance) = 0;
    // The window of the program's one About window, made the first time it is asked for.
    virtual class AboutFace& aboutFace(frmAbout& form) = 0;
};

class AboutFace : public FormFace {
public:
    virtual void setTitle(std::string_view text) = 0;
    // Shows the window at its place, the other windows taking no input until it is unloaded. A
    // toolkit that can wait returns once it has been unloaded, one that cannot returns at once.
    virtual void showModal() = 0;
};

namespace forms {

// Puts every control of fixed size at its designed place at the view's density.
void placeFixedControls(FormFace& view, const Form& form);

}  // namespace forms

}  // namespace vostrel
