'use strict';
// The page the game is played on. It draws the windows the game's definitions describe
// (VostrelDesign, which the page carries), shows what the windows' procedures tell it, and hands
// them the player's clicks, pointer presses and keys: it decides nothing of the game. Windows
// are numbered 0 (the game) and 1 (About), as the program numbers them.

const $ = (id) => document.getElementById(id);
const design = VostrelDesign;
// Keys as forms::Key numbers them, and what the procedures say to do with one, as
// forms::KeyAction numbers it.
const Keys = {
    Tab: 0,
    Enter: 1,
    Escape: 2,
    ' ': 3,
    ArrowLeft: 4,
    ArrowRight: 5,
    ArrowUp: 6,
    ArrowDown: 7,
    F10: 8,
    Function: 9,
    Character: 10,
    Other: 11
};
// What an event reads of the application folder, as frmMain::Reads numbers it.
const Reads = {
    Nothing: 0,
    Pictures: 1,
    NewGame: 2
};
const Actions = {
    Done: 0,
    Menus: 1,
    Onwards: 2
};

// The key as forms::Key numbers it, and the character it types: a letter by its place on the
// keyboard, which Alt may change the character of.
function keyOf(event) {
    if (event.key in Keys && event.key !== 'Function' && event.key !== 'Character' &&
        event.key !== 'Other')
        return [Keys[event.key], 0];
    if (/^F\d\d?$/.test(event.key))
        return [Keys.Function, 0];
    const letter = /^Key([A-Z])$/.exec(event.code);
    if (letter)
        return [Keys.Character, letter[1].toLowerCase().codePointAt(0)];
    if ([...event.key].length === 1)
        return [Keys.Character, event.key.codePointAt(0)];
    return [Keys.Other, 0];
}

// The application folder's files, in hand before the program reads them: the program reads a
// file and goes on with it at once, and a page must never wait for the network. Each is fetched
// once, the word list again (a conditional request) before every new game, so an edited list is
// used by the next game. The single-file page carries its files inside (VostrelFiles, base64 by
// name, or an HTTP status); a list the player chose stands in for the folder's.
const Folder = (() => {
    const held = new Map();  // name: bytes, or an HTTP status (0: no answer)
    const coming = new Map();
    let own = null;  // {name, bytes}
    for (const [name, got] of Object.entries(window.VostrelFiles ?? {}))
        held.set(
            name,
            typeof got === 'number' ? got : Uint8Array.from(atob(got), (c) => c.charCodeAt(0)));
    const carried = Boolean(window.VostrelFiles);
    // What the page's head fetched early, as it arrives.
    const has = (name) => {
        const early = window.Vostrel?.early ?? {};
        if (!held.has(name) && name in early)
            held.set(name, early[name]);
        return held.has(name);
    };

    function get(name, fresh) {
        if (carried || (!fresh && has(name)))
            return Promise.resolve();
        if (coming.has(name))
            return coming.get(name);
        const got =
            fetch(name, {cache: fresh ? 'no-cache' : 'default'})
                .then(
                    // A server answers a folder's name with a redirect to its listing: no file.
                    (response) => response.ok && !response.url.endsWith('/') ?
                        response.arrayBuffer().then((bytes) => new Uint8Array(bytes)) :
                        response.ok ? 404 :
                                      response.status)
                // Without an answer, what is in hand stays; the program reads no bytes as
                // a file it could not read.
                .then((bytes) => held.set(name, bytes), () => held.has(name) || held.set(name, 0))
                .finally(() => coming.delete(name));
        coming.set(name, got);
        return got;
    }

    return {
        read: (name) => own && name === design.wordFile ? own.bytes :
            has(name)                                   ? held.get(name) :
                                                          0,
        has,
        hold: (names) => Promise.all(names.map((name) => get(name, false))),
        // Before a new game: the word list as it is now.
        refresh: () => own ? Promise.resolve() : get(design.wordFile, true),
        own: () => own,
        setOwn(list) { own = list; },
    };
})();

// The files an event reads, as the program says (Reads), and whether the list must be fresh.
function needs(reads) {
    return {
        names: reads === Reads.Nothing ? [] :
            reads === Reads.Pictures   ? design.files :
                                         design.newGame,
        fresh: reads === Reads.NewGame
    };
}

// Events are handed to the program in the order they come. One that reads a file the page does
// not hold yet, and all after it, wait until it is in; meanwhile the game window is busy.
const Events = (() => {
    let queue = Promise.resolve();
    let waiting = 0;
    return {
        waiting: () => waiting > 0,
        // `names`: the files the event may read; `fresh`: it starts a new game.
        forward(act, {names = design.files, fresh = false} = {}) {
            if (!waiting && !fresh && names.every(Folder.has)) {
                act();
                return;
            }
            if (waiting++ === 0)
                $('game').setAttribute('aria-busy', 'true');
            queue = queue.then(() => Promise.all([Folder.hold(names), fresh && Folder.refresh()]))
                        .then(act)
                        .catch(Page.failed)
                        .finally(() => {
                            if (--waiting === 0)
                                $('game').removeAttribute('aria-busy');
                        });
        },
    };
})();

const Page = (() => {
    let windows = [];
    let menus = [];
    let menuFrom = null;   // the game window's control that had the focus when the menus took it
    let messageFrom = -1;  // the window whose message is open
    let messageReturn = null;   // and the element that had the focus then
    let alerting = null;        // the label the alert region tells
    let measurer = null;        // made when first needed: a canvas's drawing context takes a while
    const spacing = new Map();  // control: its letter and word spacing, in this event
    const element = (w, id, index = -1) => windows[w].controls.get(id * 32 + index + 1);
    const named = (w, name) => windows[w].client.querySelector(`[data-name="${name}"]`);

    // A caption with its access key underlined.
    function showCaption(into, caption) {
        into.textContent = caption.text;
        if (caption.key >= 0) {
            const key = document.createElement('u');
            key.textContent = caption.text[caption.key];
            into.replaceChildren(
                caption.text.slice(0, caption.key), key, caption.text.slice(caption.key + 1));
        }
    }

    function accessKey(caption) {
        return caption.key >= 0 ? caption.text[caption.key].toLowerCase() : null;
    }

    // The designed faces, else one of the same pitch, else Japanese text in a face that has it;
    // at `dpi`, where a CSS point is a point at 96.
    function cssFont(font, dpi = 96) {
        const faces = font.faces.map((face) => JSON.stringify(face));
        faces.push('"Vostrel Gothic"', font.fixedPitch ? 'monospace' : 'sans-serif');
        return `${font.bold ? 'bold ' : ''}${font.points * dpi / 96}pt ${faces.join(',')}`;
    }

    function makeControl(w, c) {
        let made;
        if (c.kind === 'Button') {
            made = document.createElement('button');
            made.type = 'button';
            showCaption(made, c);
            if (c.key >= 0)
                made.setAttribute('aria-keyshortcuts', `Alt+${c.text[c.key].toUpperCase()}`);
            made.addEventListener('click', () => {
                const reads =
                    w === 0 ? Module._vostrel_reads(c.id, c.index, 0, 0, 0) : Reads.Nothing;
                Events.forward(() => Module._vostrel_click(w, c.id, c.index), needs(reads));
            });
        } else if (c.kind === 'Picture') {
            made = document.createElement(c.programIcon ? 'div' : 'canvas');
            made.setAttribute('role', 'img');
            made.tabIndex = 0;
            made.classList.toggle('program-icon', c.programIcon);
        } else {
            made = document.createElement('div');
            const shown = document.createElement('span');
            shown.textContent = c.text;
            const spoken = document.createElement('span');
            spoken.className = 'unseen';
            made.append(shown, spoken);
        }
        made.id = `c${w}-${c.ref}`;
        made.classList.add(
            'control', c.kind.toLowerCase(), `border-${c.border}`, `ground-${c.ground}`);
        made.classList.toggle('centred', c.centred);
        made.classList.toggle('middle', c.middle);
        made.style.zIndex = c.layer;
        if (c.blackText)
            made.style.color = '#000';
        if (c.font)
            made.style.font = made.dataset.font = cssFont(c.font);
        made.dataset.name = c.name;
        if (c.index >= 0)
            made.dataset.index = c.index;
        made.dataset.key = c.ref;
        return made;
    }

    // Both windows, from their definitions: once as the page is read, before the program is in.
    function build() {
        windows = design.windows.map((form, w) => {
            const client = $(`client-${w}`);
            client.replaceChildren();
            client.style.width = `${form.width}px`;
            client.style.height = `${form.height}px`;
            client.style.minWidth = `${form.minWidth}px`;
            client.style.minHeight = `${form.minHeight}px`;
            client.closest('.window').lang = form.language;
            const controls = new Map();
            // In tab order, so a browser moving the focus on from the window's ends leaves it;
            // read in the reading order.
            for (const c of form.controls) {
                const made = makeControl(w, c);
                controls.set(c.ref, made);
                client.append(made);
            }
            client.setAttribute(
                'aria-owns', form.readingOrder.map((key) => `c${w}-${key}`).join(' '));
            return {form, client, controls, pending: null};
        });
        const [game] = design.windows;
        $('game-title').textContent = game.caption;
        buildMenus(game.menu);
        // Where the design's window ends with its frame and the page around it: a screen smaller
        // than that gets the window without them.
        const box = $('game').getBoundingClientRect();
        framed = {width: box.right + box.left, height: box.bottom + box.top};
        room();
    }

    // The room the game window has, and whether it must fill it (the frame and the page's margins
    // then give way to the screen's edges): the program's arrangement for it follows.
    let framed = null;
    function room() {
        const screen = document.documentElement;
        const fill = screen.clientWidth < framed.width || screen.clientHeight < framed.height;
        screen.classList.toggle('compact', fill);
        return [
            screen.clientWidth, screen.clientHeight - (fill ? $('menubar').offsetHeight : 0), fill
        ];
    }

    // The menu bar, from the window's menu tree: every item a button, opened by mouse or keys.
    function buildMenus(items) {
        const bar = $('menubar');
        bar.replaceChildren();
        const made = [];
        items.forEach((item, i) => {
            const button = document.createElement('button');
            button.type = 'button';
            button.tabIndex = -1;
            button.setAttribute('role', 'menuitem');
            button.dataset.name = item.name;
            showCaption(button, item);
            if (item.parent < 0) {
                const holder = document.createElement('div');
                holder.className = 'menu';
                holder.setAttribute('role', 'none');
                const list = document.createElement('div');
                list.setAttribute('role', 'menu');
                list.setAttribute('aria-label', item.text);
                list.hidden = true;
                button.setAttribute('aria-haspopup', 'menu');
                button.setAttribute('aria-expanded', 'false');
                holder.append(button, list);
                bar.append(holder);
                made[i] = {button, list, items: [], key: accessKey(item)};
                button.addEventListener('click', () => {
                    if (made[i].list.hidden)
                        openMenu(made[i]);
                    else
                        closeMenus(true);
                });
                // With a menu open, pointing at another title opens that one; a finger that
                // touches it presses it.
                button.addEventListener('pointerenter', (event) => {
                    if (event.pointerType === 'mouse' && menus.some((menu) => !menu.list.hidden) &&
                        made[i].list.hidden)
                        openMenu(made[i]);
                });
            } else {
                made[item.parent].list.append(button);
                made[item.parent].items.push({button, key: accessKey(item)});
                button.addEventListener('click', () => {
                    closeMenus(true);
                    Events.forward(
                        () => Module._vostrel_click(0, item.id, -1), needs(Reads.Nothing));
                });
            }
        });
        menus = made.filter(Boolean);
    }

    // The game window's control that has the focus: its key, or null.
    function inWindow(w) {
        const active = document.activeElement;
        return windows[w]?.client.contains(active) && active.dataset.key ?
            Number(active.dataset.key) :
            null;
    }

    function menusActive() { return $('menubar').contains(document.activeElement); }

    // The menus take the keyboard; the window's focus comes back where it was once they close.
    function takeToMenus() {
        if (!menusActive())
            menuFrom = inWindow(0);
    }

    function openMenu(menu) {
        takeToMenus();
        for (const other of menus) {
            other.list.hidden = other !== menu;
            other.button.setAttribute('aria-expanded', String(other === menu));
        }
        menu.items[0].button.focus();
    }

    function closeMenus(backToWindow) {
        for (const menu of menus) {
            menu.list.hidden = true;
            menu.button.setAttribute('aria-expanded', 'false');
        }
        if (backToWindow && menusActive() && menuFrom !== null)
            windows[0].controls.get(menuFrom).focus();
        if (!menusActive())
            menuFrom = null;
    }

    // Keys while the menus have the focus. True: taken.
    function menuKey(event) {
        const open = menus.find((menu) => !menu.list.hidden);
        const at =
            menus.indexOf(open ?? menus.find((menu) => menu.button === document.activeElement));
        const items = open ? open.items : [];
        const item = items.findIndex((entry) => entry.button === document.activeElement);
        const step = {ArrowRight: 1, ArrowLeft: -1, ArrowDown: 1, ArrowUp: -1}[event.key];
        if (event.key === 'ArrowRight' || event.key === 'ArrowLeft') {
            const next = menus[(at + step + menus.length) % menus.length];
            if (open)
                openMenu(next);
            else
                next.button.focus();
        } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
            if (!open)
                openMenu(menus[at]);
            else
                items[(item + step + items.length) % items.length].button.focus();
        } else if (event.key === 'Escape' || event.key === 'Tab' || event.key === 'F10') {
            closeMenus(true);
        } else if (event.key.length === 1 && event.key !== ' ') {
            const chosen =
                open ? items.find((entry) => entry.key === event.key.toLowerCase()) : null;
            chosen?.button.click();
        } else {
            return false;  // Enter and Space press the focused item, as buttons do
        }
        return true;
    }

    return {
        build,
        room,
        closeMenus,
        menusOpen: () => menus.some((menu) => !menu.list.hidden),
        menuKey,
        menusActive,
        inWindow,
        openMenuByKey(letter) {
            const menu = menus.find((entry) => entry.key === letter);
            if (menu)
                openMenu(menu);
        },
        focusMenus() {
            takeToMenus();
            menus[0].button.focus();
        },
        resetId: () => design.windows[0].controls.find((c) => c.name === 'CMD_RESET').id,
        // At once, not from the dialog's close event, which comes later: a key pressed meanwhile
        // would find the window still refusing input.
        dismissMessage() {
            const w = messageFrom;
            if (w < 0)
                return;
            messageFrom = -1;
            $('message').close();
            messageReturn?.focus();
            messageReturn = null;
            Module._vostrel_message_closed(w);
        },
        // The page cannot play: it says why, and what to do.
        failed(error) {
            document.documentElement.classList.remove('drawing');
            $('game').hidden = true;
            $('lists').hidden = true;
            $('failed').hidden = false;
            const why = $('failed-why');
            if (location.protocol === 'file:') {
                const link = document.createElement('a');
                link.href = 'vostrel.html';
                link.textContent = 'vostrel.html';
                why.replaceChildren(
                    'A browser does not load the game beside a page opened from the disk. Open ',
                    link,
                    ', in the same folder: it is the same game in one file, and plays from the disk.');
            } else {
                why.textContent =
                    `The browser could not load the game (${error?.message ?? error}). ` +
                    'Loading the page again may help.';
            }
        },
        listRefused(why) { $('list-refused').textContent = why; },

        // What the program's faces ask for (bridge.js).
        caption(w, id, text) {
            const label = element(w, id);
            label.firstChild.textContent = text;
            // An alert is over once what it told has changed.
            if (label === alerting && $('alert').textContent !== text) {
                $('alert').textContent = '';
                alerting = null;
            }
        },
        bounds(w, id, index, left, top, width, height) {
            Object.assign(element(w, id, index).style, {
                left: `${left}px`,
                top: `${top}px`,
                width: `${width}px`,
                height: `${height}px`,
            });
        },
        spoken(w, id, name) {
            const control = element(w, id);
            if (control.classList.contains('label')) {
                control.firstChild.setAttribute('aria-hidden', 'true');
                control.lastChild.textContent = name;
            } else {
                control.setAttribute('aria-label', name);
            }
        },
        focus(w, id, index) {
            const control = element(w, id, index);
            if (w === 1 && !$('about').open)
                windows[1].pending = control;
            else if (w === 0 && menusActive())
                menuFrom = Number(control.dataset.key);
            else
                control.focus();
        },
        focused(w) {
            const active = inWindow(w);
            if (active !== null)
                return active;
            if (w === 0 && menusActive())
                return menuFrom ?? -1;
            if (messageFrom === w && messageReturn && windows[w].client.contains(messageReturn))
                return Number(messageReturn.dataset.key);
            return -1;
        },
        measure(w, id, text) {
            measurer ??= document.createElement('canvas').getContext('2d');
            // A control's font never changes: the design's, or else read once from the page's
            // styles. The spacing a player's own styles add to its text is read once in each
            // event: reading the page's styles at every caption would slow the start.
            const control = element(w, id);
            if (!spacing.has(control)) {
                if (spacing.size === 0)
                    queueMicrotask(() => spacing.clear());
                const style = getComputedStyle(control);
                control.dataset.font ??= style.font;
                spacing.set(control, [style.letterSpacing, style.wordSpacing]);
            }
            measurer.font = control.dataset.font;
            [measurer.letterSpacing, measurer.wordSpacing] = spacing.get(control);
            const size = measurer.measureText(text);
            return [
                Math.ceil(size.width),
                Math.ceil(size.fontBoundingBoxAscent + size.fontBoundingBoxDescent)
            ];
        },
        message(w, title, text) {
            messageFrom = w;
            messageReturn = document.activeElement;
            $('message').lang = design.windows[w].language;
            $('message-title').textContent = title;
            $('message-text').textContent = text;
            $('message').showModal();
            $('message-ok').focus();
        },
        unload(w) {
            if (w === 1) {
                $('about').close();
                return;
            }
            closeMenus(false);
            $('game').hidden = true;
            $('ended').hidden = false;
            $('again').focus();
        },
        // Marked, not disabled: a browser takes the focus from a disabled control at once, and
        // a press on one to the page; the procedures move it, and ignore a disabled button.
        enabled(id, index, on) { element(0, id, index).ariaDisabled = String(!on); },
        picture(rgba, width, height) {
            const canvas = named(0, 'HUNG_PICT');
            canvas.width = width;
            canvas.height = height;
            // Without pixels, the canvas is clear and shows the area's own ground.
            if (rgba)
                canvas.getContext('2d').putImageData(new ImageData(rgba, width, height), 0, 0);
        },
        alert(id) {
            alerting = element(0, id);
            $('alert').textContent =
                alerting.lastChild.textContent || alerting.firstChild.textContent;
        },
        announce(text) { $('said').textContent = text; },
        title(text) { $('about-title').textContent = text; },
        // The game window in another arrangement, or at another density: the program places
        // every control again; the page sizes the client area and the fonts.
        arranged(which, width, height, dpi) {
            const {client, form, controls} = windows[0];
            Object.assign(client.style, {
                width: `${width}px`,
                height: `${height}px`,
                minWidth: `${width}px`,
                minHeight: `${height}px`,
            });
            client.style.setProperty('--scale', dpi / 96);
            for (const c of form.controls) {
                const made = controls.get(c.ref);
                if (c.font)
                    made.style.font = made.dataset.font = cssFont(c.font, dpi);
                else
                    delete made.dataset.font;
            }
            client.setAttribute(
                'aria-owns', form.readingOrders[which].map((key) => `c0-${key}`).join(' '));
        },
        showAbout() {
            $('about').showModal();
            // Where the design puts its client area, its frame around it, kept on the screen.
            const [about] = design.windows.slice(1);
            if (!about.placedBySystem) {
                const frame = $('about').getBoundingClientRect();
                const client = $('client-1').getBoundingClientRect();
                const screen = document.documentElement;
                const place = (at, before, size, room) =>
                    `${Math.max(0, Math.min(at - before, room - size))}px`;
                $('about').style.left =
                    place(about.left, client.left - frame.left, frame.width, screen.clientWidth);
                $('about').style.top =
                    place(about.top, client.top - frame.top, frame.height, screen.clientHeight);
            }
            windows[1].pending?.focus();
            windows[1].pending = null;
        },
    };
})();

// Says which word list the game plays with, and offers the game's own where another is in use.
function showListInUse() {
    const own = Folder.own();
    $('list-in-use').textContent =
        own ? `Playing with the words of ${own.name}.` : 'Playing with the game\'s own word list.';
    $('game-list').hidden = !own;
}

// Starts the game in the windows drawn; `again` after it ended.
function start(again) {
    Events.forward(() => {
        $('said').textContent = '';
        $('alert').textContent = '';
        $('ended').hidden = true;
        $('game').hidden = false;
        $('game').inert = false;
        $('game').classList.remove('starting');
        Module._vostrel_arrange(...Page.room());
        const shown = Module._vostrel_start(again);
        $('game').hidden = !shown;
        if (shown)
            performance.mark('vostrel-ready');
        if (!again)
            setTimeout(keepForOffline);
        // The rest of the folder, for the guesses to come.
        Folder.hold(design.files).catch(() => {});
    }, {names: design.newGame, fresh: again});
}

// Once the first game is on screen, so as not to slow its start: the worker that keeps the
// page's files for play with no network. Only for the page beside its files, served (the
// one-file page carries them, and a page from the disk has no worker).
function keepForOffline() {
    if (window.Vostrel && /^https?:$/.test(location.protocol) && navigator.serviceWorker)
        navigator.serviceWorker.register('sw.js').catch(() => {});
}

// The screen turned or the window resized: the arrangement for the new room, once a frame.
let rearranging = false;
addEventListener('resize', () => {
    if (rearranging || !window.Module?.started)
        return;
    rearranging = true;
    requestAnimationFrame(() => {
        rearranging = false;
        Module._vostrel_arrange(...Page.room());
    });
});

// A new game with the list in use, or the game started again where it had ended.
function newGame() {
    if ($('game').hidden)
        start(true);
    else
        Events.forward(() => Module._vostrel_click(0, Page.resetId(), -1), needs(Reads.NewGame));
}

// A word list of the player's own: the program says whether it can be played. One that cannot
// is refused, and the game and the list in use go on; one that can starts a new game.
function chooseList(file) {
    if (!file)
        return;
    // The game window beneath About or a message takes nothing until it is closed.
    const waitFor = !window.Module?.started  ? 'the game is still loading' :
        $('about').open || $('message').open ? 'close the open window first' :
                                               null;
    $('list-refused').textContent = waitFor ? `${file.name} is not used: ${waitFor}.` : '';
    if (waitFor)
        return;
    const limit = Module._vostrel_list_limit();
    file.slice(0, limit + 1)
        .arrayBuffer()
        .then((bytes) => new Uint8Array(bytes), () => null)
        .then((bytes) => {
            const at = bytes ? Module._malloc(Math.max(bytes.length, 1)) : 0;
            if (bytes)
                Module.HEAPU8.set(bytes, at);
            const usable = Module._vostrel_check_list(at, bytes ? bytes.length : -1);
            Module._free(at);
            if (!usable) {
                $('list-refused').textContent =
                    `${file.name} is not used: ${$('list-refused').textContent}`;
                return;
            }
            Folder.setOwn({name: file.name, bytes});
            showListInUse();
            newGame();
        });
}

document.addEventListener('keydown', (event) => {
    if ($('message').open) {
        if (event.key === 'Tab')
            event.preventDefault();  // its one button keeps the focus
        return;
    }
    if (Page.menusActive()) {
        if (Page.menuKey(event))
            event.preventDefault();
        return;
    }
    const w = $('about').open ? 1 : 0;
    // A key reaches a window only through the control that shows the focus.
    if (Page.inWindow(w) === null)
        return;
    const [key, character] = keyOf(event);
    const held = (event.shiftKey ? 1 : 0) | (event.ctrlKey || event.metaKey ? 2 : 0) |
        (event.altKey ? 4 : 0) | (event.repeat ? 8 : 0);
    const act = (action) => {
        if (action === Actions.Menus) {
            if (key === Keys.F10)
                Page.focusMenus();
            else
                Page.openMenuByKey(String.fromCodePoint(character));
        }
        return action;
    };
    // A key that reads a file not in hand, or starts a new game, waits for it, and the keys
    // after it with it: they can no longer be the browser's.
    const reads = w === 0 ? Module._vostrel_reads(-1, -1, key, character, held) : Reads.Nothing;
    if (Events.waiting() || !needs(reads).names.every(Folder.has) || reads === Reads.NewGame) {
        event.preventDefault();
        Events.forward(() => act(Module._vostrel_key(w, key, character, held)), needs(reads));
        return;
    }
    const action = act(Module._vostrel_key(w, key, character, held));
    // Onwards: the browser's, but a button is pressed only where the procedures say so.
    if (action === Actions.Done || action === Actions.Menus)
        event.preventDefault();
    spaceUnpressed = key === Keys[' '];
});
// A browser presses the focused button as Space comes up, Ctrl held or not.
let spaceUnpressed = false;
document.addEventListener('keyup', (event) => {
    if (event.key === ' ' && spaceUnpressed)
        event.preventDefault();
    spaceUnpressed = false;
});

// A press of the pointer: the procedures say where the focus goes, on a control or beside one;
// elsewhere, what takes no focus leaves it where it is.
document.addEventListener('mousedown', (event) => {
    const target = event.target;
    const bar = $('menubar');
    if (bar.contains(target)) {
        event.preventDefault();
        // A press on the bar beside its titles closes an open menu.
        if (!target.closest('button'))
            Page.closeMenus(true);
        return;
    }
    // The press that closes an open menu does nothing else, as on the desktop.
    if (Page.menusOpen()) {
        Page.closeMenus(true);
        event.preventDefault();
        swallowClick = true;
        return;
    }
    const w = $('about').open ? 1 : 0;
    const frame = $(`client-${w}`).closest('.window');
    if (frame.contains(target) && !target.closest('#about-close')) {
        event.preventDefault();
        const control = target.closest('[data-key]');
        const index = control ? Number(control.dataset.index ?? -1) : -1;
        const id = control ? Math.floor((Number(control.dataset.key) - index - 1) / 32) : -1;
        Events.forward(() => Module._vostrel_pointer(w, id, index), {names: []});
        return;
    }
    if (!target.closest('button, input, a, label, select, textarea, [tabindex]'))
        event.preventDefault();
}, true);

let swallowClick = false;
document.addEventListener('click', (event) => {
    if (swallowClick)
        event.stopPropagation();
    swallowClick = false;
}, true);

$('message-ok').addEventListener('click', Page.dismissMessage);
$('message').addEventListener('cancel', (event) => {
    event.preventDefault();
    Page.dismissMessage();
});
$('message').addEventListener('close', Page.dismissMessage);
// Esc is the About window's own key (it presses OK); the frame's close button is its close.
$('about').addEventListener('cancel', (event) => event.preventDefault());
$('about').addEventListener('close', () => Module._vostrel_close(1));
$('about-close').addEventListener('click', () => Module._vostrel_close(1));
$('again').addEventListener('click', () => start(true));
$('own-list').addEventListener('change', (event) => {
    chooseList(event.target.files[0]);
    event.target.value = '';
});
$('game-list').addEventListener('click', () => {
    Folder.setOwn(null);
    $('list-refused').textContent = '';
    showListInUse();
    $('own-list').focus();
    newGame();
});
// A file dragged over the page: where it may be dropped shows.
let dragging = 0;
const dragged = (event) => event.dataTransfer?.types.includes('Files');
document.addEventListener('dragenter', (event) => {
    if (dragged(event) && dragging++ === 0)
        $('drop').hidden = false;
});
document.addEventListener('dragleave', (event) => {
    if (dragged(event) && --dragging === 0)
        $('drop').hidden = true;
});
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', (event) => {
    event.preventDefault();
    dragging = 0;
    $('drop').hidden = true;
    chooseList(event.dataTransfer.files[0]);
});

Page.build();
$('game').inert = true;
document.documentElement.classList.remove('drawing');

// The program the page began compiling while it was read (Vostrel, in its head), made ready once
// everything the game needs is in; the single-file page carries it inside its script instead.
function instantiate(imports, ready) {
    Vostrel.then = () => {
        if (!Vostrel.program)
            return Page.failed(Vostrel.failure);
        WebAssembly.instantiate(Vostrel.program, imports).then(ready, Page.failed);
    };
    Vostrel.arrived();
    return {};
}

// The program: its reads go to the folder's files in hand.
var Module = {
    read: Folder.read,
    instantiateWasm: window.Vostrel && instantiate,
    onRuntimeInitialized() {
        Module.started = true;
        start(false);
    },
    onAbort: Page.failed,
};
