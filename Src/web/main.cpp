#include <emscripten/emscripten.h>

#include <memory>
#include <optional>

#include "Design.h"
#include "Faces.h"
#include "forms/frmAbout.h"
#include "forms/frmMain.h"

// What the page calls: the player's clicks and keys, handed to the windows' procedures as they
// come. A window is 0 for the game window, 1 for the About window.
namespace {

using vostrel::forms::Id;

struct Game {
    vostrel::web::MainFace view;
    vostrel::Services system = vostrel::systemServices();
    vostrel::frmMain form{view, system, vostrel::programFolder()};
};

std::unique_ptr<Game> game;

vostrel::web::AboutFace* about() {
    return game != nullptr ? game->view.about() : nullptr;
}

}  // namespace

extern "C" {

// Draws both windows afresh and loads the game window. False: the game window is not to be
// shown (a message says why, and the window unloads once it is dismissed).
EMSCRIPTEN_KEEPALIVE bool vostrel_start() {
    game.reset();
    page_build(vostrel::designJson().c_str());
    game = std::make_unique<Game>();
    return game->form.Load();
}

EMSCRIPTEN_KEEPALIVE void vostrel_click(int window, int id, int index) {
    if (game == nullptr) {
        return;
    }
    if (window == 0) {
        game->form.Click(static_cast<Id>(id), index);
    } else if (about() != nullptr) {
        about()->form().Click(static_cast<Id>(id));
    }
}

// A key: `key` as forms::Key numbers it, the character it types, and the keys held with it (1
// Shift, 2 Ctrl, 4 Alt, 8 held down). What the page does with it, as forms::KeyAction numbers it.
EMSCRIPTEN_KEEPALIVE int vostrel_key(int window, int key, int character, int held) {
    vostrel::forms::KeyPress press;
    press.key = static_cast<vostrel::forms::Key>(key);
    press.character = static_cast<char32_t>(character);
    press.shift = (held & 1) != 0;
    press.control = (held & 2) != 0;
    press.alt = (held & 4) != 0;
    press.repeat = (held & 8) != 0;
    vostrel::forms::KeyAction action = vostrel::forms::KeyAction::Onwards;
    if (game != nullptr && window == 0) {
        action = game->form.KeyDown(press);
    } else if (about() != nullptr) {
        action = about()->form().KeyDown(press);
    }
    return static_cast<int>(action);
}

// The pointer pressed on a control of the window (`id` -1: on none).
EMSCRIPTEN_KEEPALIVE void vostrel_pointer(int window, int id, int index) {
    std::optional<vostrel::forms::ControlRef> control;
    if (id >= 0) {
        control = vostrel::forms::ControlRef{static_cast<Id>(id), index};
    }
    if (game != nullptr && window == 0) {
        game->form.PointerDown(control);
    } else if (about() != nullptr) {
        about()->form().PointerDown(control);
    }
}

// The close button of the window's frame.
EMSCRIPTEN_KEEPALIVE void vostrel_close(int window) {
    if (window == 0 && game != nullptr) {
        game->form.Form_QueryUnload();
    } else if (about() != nullptr) {
        about()->form().Form_QueryUnload();
    }
}

EMSCRIPTEN_KEEPALIVE void vostrel_message_closed(int window) {
    if (window == 0 && game != nullptr) {
        game->view.messageClosed();
    } else if (about() != nullptr) {
        about()->messageClosed();
    }
}
}
