#include <emscripten/emscripten.h>

#include <memory>

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

// `key` as forms::Key numbers it. True: the key did something, and the browser must not.
EMSCRIPTEN_KEEPALIVE bool vostrel_key(int window, int key) {
    const auto pressed = static_cast<vostrel::forms::Key>(key);
    if (game == nullptr) {
        return false;
    }
    if (window == 0) {
        return game->form.KeyDown(pressed);
    }
    return about() != nullptr && about()->form().KeyDown(pressed);
}

// Alt and a letter in the About window.
EMSCRIPTEN_KEEPALIVE bool vostrel_access_key(int letter) {
    return about() != nullptr && about()->form().AccessKey(static_cast<char32_t>(letter));
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
