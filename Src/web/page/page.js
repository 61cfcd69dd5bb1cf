'use strict';
// The page the game is played on. It draws the windows the game's definitions describe, shows
// what the windows' procedures tell it, and hands them the player's clicks and keys: it decides
// nothing of the game. Windows are numbered 0 (the game) and 1 (About), as the program numbers
// them.

const $ = (id) => document.getElementById(id);
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
const Actions = {
    Done: 0,
    Press: 1,
    Menus: 2,
    Onwards: 3
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

const Page = (() => {
    let design = null;
    let windows = [];
    let menus = [];
    let messageFrom = -1;  // the window whose message is open
    let measurer = null;   // made when first needed: a canvas's drawing context takes a while
    const keyOf = (id, index) => id * 32 + index + 1;
    const element = (w, id, index = -1) => windows[w].controls.get(keyOf(id, index));
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

    // The designed faces, else one of the same pitch, else Japanese text in a face that has it.
    function cssFont(font) {
        const faces = font.faces.map((face) => JSON.stringify(face));
        faces.push('"Vostrel Gothic"', font.fixedPitch ? 'monospace' : 'sans-serif');
        return `${font.bold ? 'bold ' : ''}${font.points}pt ${faces.join(',')}`;
    }

    function makeControl(w, c) {
        let made;
        if (c.kind === 'Button') {
            made = document.createElement('button');
            made.type = 'button';
            showCaption(made, c);
            if (c.key >= 0)
                made.setAttribute('aria-keyshortcuts', `Alt+${c.text[c.key].toUpperCase()}`);
            made.addEventListener('click', () => Module._vostrel_click(w, c.id, c.index));
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
        made.classList.add(
            'control', c.kind.toLowerCase(), `border-${c.border}`, `ground-${c.ground}`);
        made.classList.toggle('centred', c.centred);
        made.classList.toggle('fits', c.fitsCaption);
        if (c.blackText)
            made.style.color = '#000';
        if (c.font)
            made.style.font = made.dataset.font = cssFont(c.font);
        made.dataset.name = c.name;
        if (c.index >= 0)
            made.dataset.index = c.index;
        made.dataset.key = keyOf(c.id, c.index);
        return made;
    }

    function build(drawn) {
        design = drawn;
        closeMenus(false);
        windows = drawn.windows.map((form, w) => {
            const client = $(`client-${w}`);
            client.replaceChildren();
            client.style.width = `${form.width}px`;
            client.style.height = `${form.height}px`;
            const controls = new Map();
            for (const c of form.controls) {
                const made = makeControl(w, c);
                controls.set(keyOf(c.id, c.index), made);
                client.append(made);
            }
            return {form, client, controls, last: null};
        });
        const [game, about] = drawn.windows;
        document.title = game.caption;
        $('game-title').textContent = game.caption;
        if (!about.placedBySystem) {
            $('about').style.left = `${about.left}px`;
            $('about').style.top = `${about.top}px`;
        }
        buildMenus(game.menu);
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
            } else {
                made[item.parent].list.append(button);
                made[item.parent].items.push({button, key: accessKey(item)});
                button.addEventListener('click', () => {
                    closeMenus(true);
                    Module._vostrel_click(0, item.id, -1);
                });
            }
        });
        menus = made.filter(Boolean);
    }

    function openMenu(menu) {
        closeMenus(false);
        menu.list.hidden = false;
        menu.button.setAttribute('aria-expanded', 'true');
        menu.items[0].button.focus();
    }

    function closeMenus(backToWindow) {
        for (const menu of menus) {
            menu.list.hidden = true;
            menu.button.setAttribute('aria-expanded', 'false');
        }
        if (backToWindow)
            focusLast(0);
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
        } else if (event.key === 'Escape' || event.key === 'Tab') {
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

    function focusLast(w) {
        const last = windows[w]?.last;
        if (last !== null && last !== undefined)
            windows[w].controls.get(last).focus();
    }

    return {
        build,
        closeMenus,
        menuKey,
        focusLast,
        menusActive: () => $('menubar').contains(document.activeElement),
        openMenuByKey(letter) {
            const menu = menus.find((entry) => entry.key === letter);
            if (menu)
                openMenu(menu);
            return Boolean(menu);
        },
        focusMenus: () => menus[0].button.focus(),
        resetId: () => windows[0].form.controls.find((c) => c.name === 'CMD_RESET').id,
        wordFile: () => design.wordFile,
        noteFocus(w, target) {
            if (target.dataset.key && windows[w])
                windows[w].last = Number(target.dataset.key);
        },
        // At once, not from the dialog's close event, which comes later: a key pressed meanwhile
        // would find the window still refusing input.
        dismissMessage() {
            const w = messageFrom;
            messageFrom = -1;
            $('message').close();
            if (w >= 0)
                Module._vostrel_message_closed(w);
        },

        // What the program's faces ask for (bridge.js).
        caption(w, id, text) { element(w, id).firstChild.textContent = text; },
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
            windows[w].last = keyOf(id, index);
            element(w, id, index).focus();
        },
        focused: (w) => windows[w].last ?? -1,
        measure(w, id, text) {
            measurer ??= document.createElement('canvas').getContext('2d');
            // A control's font never changes: the design's, or else read once from the page's
            // styles, which would otherwise be worked out again at every caption.
            const control = element(w, id);
            measurer.font = control.dataset.font ??= getComputedStyle(control).font;
            const size = measurer.measureText(text);
            return [
                Math.ceil(size.width),
                Math.ceil(size.fontBoundingBoxAscent + size.fontBoundingBoxDescent)
            ];
        },
        message(w, title, text) {
            messageFrom = w;
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
        enabled(id, index, on) { element(0, id, index).disabled = !on; },
        picture(rgba, width, height) {
            const canvas = named(0, 'HUNG_PICT');
            canvas.width = width;
            canvas.height = height;
            // Without pixels, the canvas is clear and shows the area's own ground.
            if (rgba)
                canvas.getContext('2d').putImageData(new ImageData(rgba, width, height), 0, 0);
        },
        alert(id) {
            const control = element(0, id);
            $('alert').textContent =
                control.lastChild.textContent || control.firstChild.textContent;
        },
        announce(text) { $('said').textContent = text; },
        title(text) { $('about-title').textContent = text; },
        showAbout() {
            $('about').showModal();
            focusLast(1);
        },
    };
})();

function start() {
    Module.started = true;
    $('ended').hidden = true;
    const shown = Module._vostrel_start();
    $('game').hidden = !shown;
    if (shown) {
        Page.focusLast(0);
        performance.mark('vostrel-ready');
    }
}

// A word list of the player's own takes the place of the page's, and a new game starts with it.
function useOwnList(file) {
    if (!file || !Module.started || $('about').open || $('message').open)
        return;
    file.arrayBuffer().then((bytes) => {
        Module.files[Page.wordFile()] = new Uint8Array(bytes);
        if ($('game').hidden)
            start();
        else
            Module._vostrel_click(0, Page.resetId(), -1);
    });
}

document.addEventListener('keydown', (event) => {
    if ($('message').open) {
        if (event.key === 'Tab')
            event.preventDefault();  // its one button keeps the focus
        return;
    }
    const about = $('about').open;
    const inGame =
        $('client-0').contains(document.activeElement) || document.activeElement === document.body;
    if (!about && (!inGame || $('game').hidden)) {
        if (Page.menusActive() && Page.menuKey(event))
            event.preventDefault();
        return;
    }
    const w = about ? 1 : 0;
    const [key, character] = keyOf(event);
    const held = (event.shiftKey ? 1 : 0) | (event.ctrlKey || event.metaKey ? 2 : 0) |
        (event.altKey ? 4 : 0) | (event.repeat ? 8 : 0);
    switch (Module._vostrel_key(w, key, character, held)) {
        case Actions.Done:
            event.preventDefault();
            break;
        case Actions.Menus:
            if (key === Keys.F10)
                Page.focusMenus();
            else
                Page.openMenuByKey(String.fromCodePoint(character));
            event.preventDefault();
            break;
        default:
            break;  // Space presses the focused button as it comes up; the rest is the browser's
    }
});

for (const w of [0, 1]) {
    $(`client-${w}`).addEventListener('focusin', (event) => Page.noteFocus(w, event.target));
}
document.addEventListener('mousedown', (event) => {
    if (!$('menubar').contains(event.target))
        Page.closeMenus(false);
    // A click on a window's ground, or on a window beneath a modal one, leaves the focus where it
    // is.
    if (event.target.closest('.window') && !event.target.closest('button, [data-key]')) {
        event.preventDefault();
    }
});
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
$('again').addEventListener('click', start);
$('own-list').addEventListener('change', (event) => {
    useOwnList(event.target.files[0]);
    event.target.value = '';
});
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', (event) => {
    event.preventDefault();
    useOwnList(event.dataTransfer.files[0]);
});

// The program the page began compiling while it was read (Vostrel, in its head), made ready once
// everything the game needs is in; the single-file page carries it inside its script instead.
function instantiate(imports, ready) {
    Vostrel.then = () => WebAssembly.instantiate(Vostrel.program, imports).then(ready);
    Vostrel.arrived();
    return {};
}

// The program; the single-file page carries its files inside (VostrelFiles, base64 by name).
var Module = {
    files: Object.fromEntries(
        Object.entries(window.VostrelFiles ?? {})
            .map(
                ([name, base64]) => [name, Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))])),
    early: window.Vostrel?.early,
    instantiateWasm: window.Vostrel && instantiate,
    onRuntimeInitialized: start,
};
