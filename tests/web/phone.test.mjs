// The page on a phone and as an installed app: a whole game by touch, held upright and turned on
// its side; a game with no network after a first visit, an edited list used while there is one,
// a new version taking the old one's place; installable as Chromium judges it.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {bin, open, seen, site, start, stop, until} from './site.mjs';

before(start);
after(stop);

// What an accessibility audit finds.
const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const audit = async (page) => {
    await page.addScriptTag({path: axe});
    return page.evaluate(() => axe.run().then((r) => r.violations.map((v) => v.id)));
};

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
            [now.sideways, now.outside, now.touch, await audit(page)],
            [false, [], ['manipulation', 'none'], []], what);
        assert.ok(now.size >= size && now.apart >= apart, `${what}: ${now.size}, ${now.apart}`);
        const shot = path.join(shots, `phone-${width}x${height}.png`);
        await page.screenshot({path: shot});
        console.log(`screenshot: ${path.resolve(shot)}`);
        // About and its message on the screen too; the game beneath takes no touch meanwhile.
        const game = await seen(page);
        await page.tap('[data-name=mnuHelp]');
        assert.deepEqual(await audit(page), [], `${what}, a menu open`);
        await page.tap('[data-name=mnuHelpAbout]');
        await page.tap(`[data-name=CMD_ALPHA][data-index="25"]`);
        await page.tap('[data-name=cmdSysInfo]');
        assert.deepEqual(
            [(await fit(page)).outside, await audit(page)], [[], []], `${what}: About, a message`);
        await page.tap('#message-ok');
        await page.tap('#about-close');
        assert.deepEqual(await seen(page), game, what);
    }
    // Lost at the tenth miss on the last screen, then won.
    const lost = await seen(page);
    assert.deepEqual(
        [lost.result, lost.answer, lost.gallows, lost.alert, lost.focus, (await fit(page)).outside],
        [
            'You are hunged !', 'apple', 'Gallows: 10 of 10 misses', 'You are hunged !',
            'Reset & Start', []
        ]);
    await page.tap('[data-name=CMD_RESET]');
    for (const c of 'aple')
        await page.tap(`[data-name=CMD_ALPHA][data-index="${c.charCodeAt(0) - 97}"]`);
    const end = await seen(page);
    assert.deepEqual(
        [end.alert, end.focus, end.disabled], ['You\'ve got it !', 'Reset & Start', 26]);
    // The ended game's window is gone, and what says so is on the screen.
    await page.tap('[data-name=cmdExit]');
    assert.deepEqual(await page.$eval('#game', (e) => e.offsetHeight), 0);
    assert.ok(await page.$eval('#again', (e) => e.getBoundingClientRect().bottom <= innerHeight));
    assert.deepEqual(await audit(page), [], 'ended');
});

test(
    'after a first visit: a game with no network, an edited list used while there is one, ' +
        'and a new version in the old one\'s place',
    async () => {
        const {folder, url, reachable} = site({'h_dat.txt': 'moon\n'});
        const edit = (name, change) => fs.writeFileSync(
            path.join(folder, name), change(fs.readFileSync(path.join(folder, name), 'utf8')));
        const visit = async () => {
            const page = await open(url);
            await until(page, () => navigator.serviceWorker.controller);
            return page;
        };
        let page = await visit();
        edit('h_dat.txt', () => 'banana\n');
        await page.click('[data-name=CMD_RESET]');
        await until(page, () => document.getElementById('said').textContent.endsWith('6 letters'));
        // No network: the page, its program and every file it may load are at hand.
        reachable(false);
        page = await open(url);
        for (const c of 'ban')
            await page.click(`[data-name=CMD_ALPHA][data-index="${c.charCodeAt(0) - 97}"]`);
        assert.equal((await seen(page)).alert, 'You\'ve got it !');
        const shipped =
            fs.readdirSync(bin).filter((name) => !/LICENSE|^vostrel\.html$|^sw\.js$/.test(name));
        assert.deepEqual(
            await page.evaluate(
                (names) => Promise.all(
                    names.map((name) => fetch(name).then((got) => got.ok || name, () => name))),
                shipped),
            shipped.map(() => true));
        // A new version: found at the next visit, which its worker then holds alone; the one
        // after plays it.
        reachable(true);
        edit('sw.js', (worker) => worker.replace(/'vostrel-[^']*'/, '\'vostrel-next\''));
        edit('index.html', (html) => html.replace('<title>Vostrel', '<title>Vostrel next'));
        page = await visit();
        await until(page, () => caches.keys().then((kept) => kept.join() === 'vostrel-next'));
        page = await visit();
        assert.equal(await page.title(), 'Vostrel next');
    });

test('installable, as Chromium judges it, with the icons its manifest names', async () => {
    const page = await open(site().url);
    const cdp = await page.createCDPSession();
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    const {url, data} = await cdp.send('Page.getAppManifest');
    const icons = await page.evaluate(async (icons, base) => {
        const size = async (icon) => {
            const image = new Image();
            image.src = new URL(icon.src, base);
            await image.decode();
            return `${icon.purpose} ${icon.sizes} ${image.naturalWidth}x${image.naturalHeight}`;
        };
        return Promise.all(icons.map(size));
    }, JSON.parse(data).icons, url);
    assert.deepEqual(icons, [
        'any 192x192 192x192', 'any 512x512 512x512', 'maskable 192x192 192x192',
        'maskable 512x512 512x512'
    ]);
});
