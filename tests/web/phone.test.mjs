// The page on a phone and as an installed app: a whole game by touch, held upright and turned on
// its side; a game with no network after a first visit, an edited list used while there is one,
// a new version taking the old one's place; installable as Chromium judges it.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {bin, open, seen, site, start, stop, until} from './site.mjs';

before(start);
after(stop);

// Where the letters stand, and what is off the screen or scrolls sideways.
const fit = (page) => page.evaluate(() => {
    const screen = document.documentElement;
    const shown = '#game:not([hidden]) .control, #menubar button:not([role=menuitem]), ' +
        'dialog[open], dialog[open] button';
    const outside = [...document.querySelectorAll(shown)].filter((e) => {
        const r = e.getBoundingClientRect();
        return r.left < 0 || r.top < 0 || r.right > screen.clientWidth ||
            r.bottom > screen.clientHeight;
    });
    const letters = [...document.querySelectorAll('[data-name=CMD_ALPHA]')].map(
        (e) => e.getBoundingClientRect());
    return {
        sideways: screen.scrollWidth > screen.clientWidth,
        outside: outside.map((e) => e.dataset.name ?? e.id),
        size: Math.min(...letters.map((r) => Math.min(r.width, r.height))),
        apart: Math.min(
            ...letters.slice(1).map((r, i) => r.left - letters[i].left).filter((step) => step > 0)),
        // No double-tap zoom on the page, no selection on a long press in the game.
        touch: [screen, document.querySelector('.control')].map(
            (e) => getComputedStyle(e)[e === screen ? 'touchAction' : 'userSelect']),
    };
});

test('a whole game by touch, the phone held upright and turned on its side', async () => {
    const shots = path.join(bin, '../screenshots');
    fs.mkdirSync(shots, {recursive: true});
    const phones = [
        // the screen, the least letter and the least step between two, the letters tapped
        [390, 844, 44, 48, 'bcd'],
        [844, 390, 24, 24, 'fgh'],
        [360, 740, 44, 48, 'ijk'],
        [740, 360, 24, 24, 'm'],
    ];
    const touch = (width, height) => ({width, height, isMobile: true, hasTouch: true});
    const page = await open(
        site({'h_dat.txt': 'apple\n'}).url, undefined, (p) => p.setViewport(touch(390, 844)));
    for (const [width, height, size, apart, letters] of phones) {
        const what = `${width} × ${height}`;
        await page.setViewport(touch(width, height));
        await until(
            page,
            (w) => document.querySelector('#client-0').style.width &&
                document.querySelector('#game').getBoundingClientRect().width === w,
            width);
        for (const c of letters)
            await page.tap(`[data-name=CMD_ALPHA][data-index="${c.charCodeAt(0) - 97}"]`);
        const now = await fit(page);
        assert.deepEqual(
            [now.sideways, now.outside, now.touch], [false, [], ['manipulation', 'none']], what);
        assert.ok(now.size >= size && now.apart >= apart, `${what}: ${now.size}, ${now.apart}`);
        const shot = path.join(shots, `phone-${width}x${height}.png`);
        await page.screenshot({path: shot});
        console.log(`screenshot: ${path.resolve(shot)}`);
        // About and its message on the screen too; the game beneath takes no touch meanwhile.
        const game = await seen(page);
        await page.tap('[data-name=mnuHelp]');
        await page.tap('[data-name=mnuHelpAbout]');
        await page.tap(`[data-name=CMD_ALPHA][data-index="25"]`);
        await page.tap('[data-name=cmdSysInfo]');
        assert.deepEqual((await fit(page)).outside, [], `${what}: About and its message`);
        await page.tap('#message-ok');
        await page.tap('#about-close');
        assert.deepEqual(await seen(page), game, what);
    }
    // Lost at the tenth miss on the last screen, then won.
    assert.deepEqual(
        [(await seen(page)).result, (await seen(page)).answer, (await fit(page)).outside],
        ['You are hunged !', 'apple', []]);
    await page.tap('[data-name=CMD_RESET]');
    for (const c of 'aple')
        await page.tap(`[data-name=CMD_ALPHA][data-index="${c.charCodeAt(0) - 97}"]`);
    const end = await seen(page);
    assert.deepEqual(
        [end.alert, end.focus, end.disabled], ['You\'ve got it !', 'Reset & Start', 26]);
});
