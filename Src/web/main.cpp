#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>

#include "Faces.h"
#include "core/Game.h"
#include "forms/frmAbout.h"
#include "forms/frmMain.h"

// What the page calls: the player's clicks and keys, handed to the windows' procedures as they
// come. A window is 0 for the game window, 1 for the About window.
namespace {

using vostrel::forms::Id;

// The room the page has for the game window: where the game starts, and after each change.
vostrel::forms::Arrangement arranged{&vostrel::forms::mainForm(), vostrel::forms::kDesignDpi};

struct Game {
    vostrel::web::MainFace view{arranged};
    vostrel::Services system = vostrel::systemServices();
    vostrel::frmMain form{view, system, vostrel::programFolder()};
};

std::unique_ptr<Game> game;

vostrel::web::AboutFace* about() {
    return game != nullptr ? game->view.about() : nullptr;
}

vostrel::forms::KeyPress keyPress(int key, int character, int held) {
    vostrel::forms::KeyPress press;
    press.key = static_cast<vostrel::forms::Key>(key);
    press.character = static_cast<char32_t>(character);
    press.shift = (held & 1) != 0;
    press.control = (held & 2) != 0;
    press.alt = (held & 4) != 0;
    press.repeat = (held & 8) != 0;
    return press;
}

}  // namespace

extern "C" {

// Loads the game window into the windows the page has drawn; `again` where the game was ended
// and is started once more. False: the game window is not to be shown (a message says why, and
// the window unloads once it is dismissed).
EMSCRIPTEN_KEEPALIVE bool vostrel_start(bool again) {
    game.reset();
    game = std::make_unique<Game>();
    return game->form.Load(again);
}

// The page's room for the game window changed (the screen turned, the window resized): `width` ×
// `height` CSS pixels, which the window must `fill` where it is smaller than the design's with
// its frame. The arrangement and density follow, as for a change of density.
EMSCRIPTEN_KEEPALIVE void vostrel_arrange(int width, int height, bool fill) {
    arranged = vostrel::forms::arrange(width, height, fill);
    if (game != nullptr && game->view.arrange(arranged)) {
        game->form.Form_DpiChanged();
    }
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
    const vostrel::forms::KeyPress press = keyPress(key, character, held);
    vostrel::forms::KeyAction action = vostrel::forms::KeyAction::Onwards;
    if (game != nullptr && window == 0) {
        action = game->form.KeyDown(press);
    } else if (about() != nullptr) {
        action = about()->form().KeyDown(press);
    }
    return static_cast<int>(action);
}

// What a click on the control (`id` -1: none), or else the key, would read, as
// frmMain::Reads numbers it: the page has it in hand first.
EMSCRIPTEN_KEEPALIVE int vostrel_reads(int id, int index, int key, int character, int held) {
    if (game == nullptr) {
        return 0;
    }
    return static_cast<int>(id >= 0 ? game->form.WhatReads({static_cast<Id>(id), index})
                                    : game->form.WhatReads(keyPress(key, character, held)));
}

// A word list the player chose: `size` bytes at `bytes`, or -1 where the file could not be read.
// The page reads no more of a file than a word list may hold, and one byte more. False: it is
// refused, and the page told why.
EMSCRIPTEN_KEEPALIVE bool vostrel_check_list(const char* bytes, int size) {
    const vostrel::LoadStatus status =
        size < 0 ? vostrel::LoadStatus::Unreadable
                 : vostrel::wordList(std::string(bytes, static_cast<std::size_t>(size))).status;
    if (status != vostrel::LoadStatus::Ok) {
        page_list_refused(std::string(vostrel::wordFileProblem(status)).c_str());
    }
    return status == vostrel::LoadStatus::Ok;
}

// The most a word list may hold, in bytes.
EMSCRIPTEN_KEEPALIVE double vostrel_list_limit() {
    return static_cast<double>(vostrel::kMaxWordFileBytes);
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
