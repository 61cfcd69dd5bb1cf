// The page against the design as tests/acceptance types it: every control's place, caption and
// font as drawn, each window's size, caption, menus and tab order walked with real keys, and
// every key and pointer press of the keys table that holds in a browser.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {focusName, letter, open, press, seen, site, start, stop, table} from './site.mjs';

before(start);
after(stop);

const client = (window) => (window === 'frmMain' ? '#client-0' : '#client-1');
const px = (twips) => Math.floor(Number(twips) / 15);
async function openAbout(page) {
    await press(page, 'h', 'Alt');
    await press(page, 'a');
}
// In the page: an element's caption with its access key marked by "&", and its font as the
// tables write it (face, size, weight).
const looks = `
    window.marked = (e, text = e.textContent) => {
        const before = e.querySelector('u')?.previousSibling?.textContent ?? '';
        return e.querySelector('u') ? before + '&' + text.slice(before.length) : text;
    };
    window.fontOf = (e) => {
        const style = getComputedStyle(e);
        return [style.fontFamily.split(',')[0].replace(/"/g, ''), style.fontSize, style.fontWeight];
    };`;

// What the page draws of each control of a window: its box in the client area, caption and font.
const drawn = (page, window) => page.$$eval(`${client(window)} > *`, (all) => all.map((e) => {
    const box = e.getBoundingClientRect();
    const area = e.parentElement.getBoundingClientRect();
    return {
        name: e.dataset.name,
        index: e.dataset.index ?? '-',
        box: [box.left - area.left, box.top - area.top, box.width, box.height],
        caption:
            marked(e, e.classList.contains('label') ? e.firstChild.textContent : e.textContent),
        font: fontOf(e),
    };
}));

test('each window and every control where the design puts it, as it shows them', async () => {
    const page = await open(site({'h_dat.txt': 'moon\n'}).url);
    await page.addScriptTag({content: looks});
    const shown = {frmMain: await drawn(page, 'frmMain')};
    await openAbout(page);
    shown.frmAbout = await drawn(page, 'frmAbout');
    // The system's user-interface font: the window's own, which no control departs from.
    const system = await page.$eval('#game', (e) => fontOf(e));
    for (const row of table('design.tsv')) {
        const what = `${row.window} ${row.control} ${row.index}`;
        const c = shown[row.window].find((e) => e.name === row.control && e.index === row.index);
        const [left, top, width, height] = c.box;
        const designed = [px(row.left), px(row.top), px(row.width), px(row.height)];
        if (row.sizing === 'fixed')
            assert.deepEqual(c.box, designed, what);
        else if (row.sizing === 'centre')  // around its designed centre
            assert.ok(
                top === designed[1] &&
                    Math.abs(2 * left + width - 2 * designed[0] - designed[2]) <= 1,
                `${what}: ${c.box} against ${designed}`);
        else
            assert.deepEqual([left, top], designed.slice(0, 2), what);
        if (row.caption !== '-' && row.sizing === 'fixed')
            assert.equal(c.caption, row.caption, what);
        const [weight, points, ...face] = row.font.split(' ').reverse();
        const font =
            [face.reverse().join(' '), `${(points * 4) / 3}px`, weight === 'bold' ? '700' : '400'];
        assert.deepEqual(c.font, row.font === '-' ? system : font, what);
    }
    // The page's own buttons and the message's take the same font as the windows' buttons.
    await page.click('[data-name=cmdSysInfo]');
    for (const selector of ['#message-ok', '#game-list', '#again'])
        assert.deepEqual(await page.$eval(selector, (e) => fontOf(e)), system, selector);
    await press(page, 'Enter');
    await press(page, 'Escape');
    // Each window: its size, place, caption, menus, and its tab order walked with Tab.
    await page.reload();
    await page.waitForSelector('#game:not(.starting)', {timeout: 30000});
    await page.addScriptTag({content: looks});
    for (const row of table('windows.tsv')) {
        if (row.window === 'frmAbout') {
            await press(page, 'Tab', 'Shift');  // back into the game window, where Alt+H works
            await openAbout(page);
        }
        const frame = await page.$eval(client(row.window), (e) => {
            const box = e.getBoundingClientRect();
            const window = e.closest('.window');
            const menus = [...window.querySelectorAll('#menubar > .menu')].map((menu) => {
                const [title, ...items] =
                    [...menu.querySelectorAll('button')].map((b) => marked(b));
                return `${title} > ${items.join(', ')}`;
            });
            return [
                box.width, box.height, box.left, box.top,
                window.querySelector('.title-bar').textContent.replace('×', ''),
                menus.join('; ') || '-'
            ];
        });
        const place = row.left === '-' ? frame.slice(2, 4) : [px(row.left), px(row.top)];
        assert.deepEqual(frame, [px(row.width), px(row.height), ...place, row.caption, row.menus]);
        // From the first control, Tab after Tab: the game window is left past its last control,
        // the About window goes round.
        const order = [await focusName(page)];
        for (const _ of row.taborder.split(' ')) {
            await press(page, 'Tab');
            order.push(await focusName(page));
        }
        const past = row.window === 'frmMain' ? 'outside' : order[0];
        assert.equal(order.join(' '), `${row.taborder} ${past}`, row.window);
    }
});

// A row's keys, one after another: "Shift+Tab", "Enter*" (held down, so sent again), "Click(m)".
async function play(page, keys) {
    const names = {
        Space: ' ',
        Right: 'ArrowRight',
        Left: 'ArrowLeft',
        Up: 'ArrowUp',
        Down: 'ArrowDown',
        Ctrl: 'Control'
    };
    for (const step of keys.split(' ')) {
        const clicked = /^Click\((.*)\)$/.exec(step)?.[1];
        if (clicked) {
            const selector = clicked === 'ground' ? '#client-0' :
                clicked.length === 1              ? letter(clicked) :
                                                    `[data-name=${clicked}]`;
            const [x, y] = await page.$eval(
                selector, (e) => [e.getBoundingClientRect().left, e.getBoundingClientRect().top]);
            await page.mouse.click(x + 4, y + 4);
            continue;
        }
        const pressed = step.replace('*', '').split('+').map((key) => names[key] ?? key);
        for (const key of pressed)
            await page.keyboard.down(key);
        if (step.endsWith('*'))
            await page.keyboard.down(pressed.at(-1));
        for (const key of pressed.reverse())
            await page.keyboard.up(key);
    }
}

test('every key and pointer press of the keys table that holds in a browser', async () => {
    const page = await open(site({'h_dat.txt': 'moon\n'}).url);
    for (const row of table('keys.tsv').filter((r) => ['any', 'browser', 'page'].includes(r.on))) {
        const what = `${row.window}, ${row.before}: ${row.keys}`;
        await page.reload();
        await page.waitForSelector('#game:not(.starting)', {timeout: 30000});
        if (row.window === 'frmAbout')
            await openAbout(page);
        const before = row.before.length === 1 ? letter(row.before) : `[data-name=${row.before}]`;
        await page.$eval(before, (e) => e.focus());
        await play(page, row.keys);
        const now = await seen(page);
        const shows = row.window === 'frmMain' ? `${now.word}/${now.result}` :
            now.message ? 'message' :
            now.about   ? 'open' :
                          'closed';
        assert.equal(shows, row.shows, what);
        if (now.message)  // it has the focus while it is open, and gives it back
            await press(page, 'Enter');
        if (row.after !== '-')
            assert.equal(await focusName(page), row.after, what);
    }
});
