// The page against the design as tests/acceptance types it: every control's place, caption and
// font as drawn, each window's size, caption, menus and tab order walked with real keys, and
// every key and pointer press of the keys table that holds in a browser.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {focusName, letter, open, press, seen, site, start, stop, table} from './site.mjs';

before(start);
after(stop);

const client = (window) => (window === 'frmMain' ? '#client-0' : '#client-1');
const openAbout = async (page) => {
    await press(page, 'h', 'Alt');
    await press(page, 'a');
};

// What the page draws of each control: its box in the client area, its caption with the access
// key marked by "&", and its font.
const drawn = (page, window) => page.$$eval(`${client(window)} > *`, (all) => all.map((e) => {
    const box = e.getBoundingClientRect();
    const area = e.parentElement.getBoundingClientRect();
    const style = getComputedStyle(e);
    const key = e.querySelector('u');
    const text = e.classList.contains('label') ? e.firstChild.textContent : e.textContent;
    return {
        name: e.dataset.name,
        index: e.dataset.index ?? '-',
        box: [box.left - area.left, box.top - area.top, box.width, box.height],
        caption: key ? `${key.previousSibling?.textContent ?? ''}&${
                           text.slice(key.previousSibling?.textContent.length ?? 0)}` :
                       text,
        font: [style.fontFamily.split(',')[0].replace(/"/g, ''), style.fontSize, style.fontWeight],
    };
}));

test('every control where the design puts it, with its caption and font', async () => {
    const page = await open(site({'h_dat.txt': 'moon\n'}).url);
    const shown = {frmMain: await drawn(page, 'frmMain')};
    await openAbout(page);
    shown.frmAbout = await drawn(page, 'frmAbout');
    // The font of the system's user interface: the window's own, which no control departs from.
    const system = await page.$eval('#game', (e) => {
        const style = getComputedStyle(e);
        return [style.fontFamily.split(',')[0].replace(/"/g, ''), style.fontSize, style.fontWeight];
    });
    const px = (twips) => Math.floor(Number(twips) / 15);
    for (const row of table('design.tsv')) {
        const what = `${row.window} ${row.control} ${row.index}`;
        const c = shown[row.window].find((e) => e.name === row.control && e.index === row.index);
        assert.ok(c, what);
        const [left, top, width, height] = c.box;
        const designed = [px(row.left), px(row.top), px(row.width), px(row.height)];
        if (row.sizing === 'fixed')
            assert.deepEqual(c.box, designed, what);
        else if (row.sizing === 'centre')
            assert.ok(
                top === designed[1] &&
                    Math.abs(2 * left + width - 2 * designed[0] - designed[2]) <= 1,
                `${what}: ${c.box} keeps the centre of ${designed}`);
        else
            assert.deepEqual([left, top], designed.slice(0, 2), what);
        if (row.caption !== '-' && row.sizing === 'fixed')
            assert.equal(c.caption, row.caption, what);
        const [weight, points, ...face] = row.font.split(' ').reverse();
        assert.deepEqual(
            c.font,
            row.font === '-' ? system :
                               [
                                   face.reverse().join(' '), `${(Number(points) * 4) / 3}px`,
                                   weight === 'bold' ? '700' : '400'
                               ],
            what);
    }
    // The page's own buttons and the message's take the same font as the windows' buttons.
    await page.click('[data-name=cmdSysInfo]');
    for (const selector of ['#message-ok', '#game-list', '#again']) {
        const font = await page.$eval(selector, (e) => {
            const style = getComputedStyle(e);
            return [
                style.fontFamily.split(',')[0].replace(/"/g, ''), style.fontSize, style.fontWeight
            ];
        });
        assert.deepEqual(font, system, selector);
    }
});

test('each window: its size, caption, menus, and its tab order walked with Tab', async () => {
    const page = await open(site({'h_dat.txt': 'moon\n'}).url);
    for (const row of table('windows.tsv')) {
        if (row.window === 'frmAbout') {
            await press(page, 'Tab', 'Shift');  // back into the game window, where Alt+H works
            await openAbout(page);
        }
        const frame = await page.$eval(client(row.window), (e) => {
            const box = e.getBoundingClientRect();
            const window = e.closest('.window');
            const caption = window.querySelector('.title-bar').textContent.replace('×', '');
            const menus = [...window.querySelectorAll('#menubar > .menu')].map((menu) => {
                const marked = (b) => {
                    const before = b.querySelector('u')?.previousSibling?.textContent ?? '';
                    return b.querySelector('u') ?
                        `${before}&${b.textContent.slice(before.length)}` :
                        b.textContent;
                };
                const [title, ...items] = menu.querySelectorAll('button');
                return `${marked(title)} > ${items.map(marked).join(', ')}`;
            });
            return {
                size: [box.width, box.height],
                place: [box.left, box.top],
                caption,
                menus: menus.join('; ') || '-'
            };
        });
        const px = (twips) => Math.floor(Number(twips) / 15);
        assert.deepEqual(frame.size, [px(row.width), px(row.height)], row.window);
        if (row.left !== '-')
            assert.deepEqual(frame.place, [px(row.left), px(row.top)], row.window);
        assert.equal(frame.caption, row.caption, row.window);
        assert.equal(frame.menus, row.menus, row.window);
        // From the first control, Tab after Tab; the game window is left past its last one, the
        // About window goes round.
        const order = [await focusName(page)];
        const expected = row.taborder.split(' ');
        for (let i = 0; i < expected.length; i++) {
            await press(page, 'Tab');
            order.push(await focusName(page));
        }
        assert.deepEqual(
            order.join(' '),
            `${row.taborder} ${row.window === 'frmMain' ? 'outside' : expected[0]}`, row.window);
    }
});

// A row's keys: "Shift+Tab", "Enter*" (held down, so sent again), "Click(m)", one after another.
async function play(page, keys) {
    for (const step of keys.split(' ')) {
        const clicked = /^Click\((.*)\)$/.exec(step);
        if (clicked) {
            const name = clicked[1];
            if (name === 'ground')
                await page.$eval(
                    '#client-0',
                    (e) => e.dispatchEvent(
                        new MouseEvent('mousedown', {bubbles: true, cancelable: true})));
            const selector = name.length === 1 ? letter(name) : `[data-name=${name}]`;
            const box = await page.$eval(name === 'ground' ? '#client-0' : selector, (e) => {
                const r = e.getBoundingClientRect();
                return [r.left, r.top];
            });
            await page.mouse.click(box[0] + 4, box[1] + 4);
            continue;
        }
        const held = step.endsWith('*');
        const [modifier, key] = step.replace('*', '').split('+').length > 1 ?
            step.replace('*', '').split('+') :
            [null, step.replace('*', '')];
        const name = {
            Space: ' ',
            Right: 'ArrowRight',
            Left: 'ArrowLeft',
            Up: 'ArrowUp',
            Down: 'ArrowDown',
            Ctrl: 'Control'
        };
        if (modifier)
            await page.keyboard.down(name[modifier] ?? modifier);
        await page.keyboard.down(name[key] ?? key);
        if (held)
            await page.keyboard.down(name[key] ?? key);
        await page.keyboard.up(name[key] ?? key);
        if (modifier)
            await page.keyboard.up(name[modifier] ?? modifier);
    }
}

test('every key and pointer press of the keys table that holds in a browser', async () => {
    const page = await open(site({'h_dat.txt': 'moon\n'}).url);
    for (const row of table('keys.tsv').filter((r) => ['any', 'browser'].includes(r.on))) {
        const what = `${row.window}, ${row.before}: ${row.keys}`;
        await page.reload();
        await page.waitForSelector('#game:not(.starting)', {timeout: 30000});
        if (row.window === 'frmAbout')
            await openAbout(page);
        await page.$eval(
            row.before.length === 1 ? letter(row.before) : `[data-name=${row.before}]`,
            (e) => e.focus());
        await play(page, row.keys);
        if (row.window === 'frmMain') {
            const now = await seen(page);
            assert.equal(`${now.word}/${now.result}`, row.shows, what);
        } else {
            const state = await page.evaluate(
                () => document.getElementById('message').open ? 'message' :
                    document.getElementById('about').open     ? 'open' :
                                                                'closed');
            assert.equal(state, row.shows, what);
            // The message has the focus while it is open, and gives it back.
            if (state === 'message')
                await press(page, 'Enter');
        }
        if (row.after !== '-')
            assert.equal(await focusName(page), row.after, what);
    }
});
