// The page as players meet it: the focus never lost, a word list of one's own
// that loses no game, a page that always says what to do, nothing waiting on the network, no
// layout jump, what a screen reader finds, and its looks.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {focusName, launch, letter, open, press, seen, site, start, stop, until} from './site.mjs';

before(start);
after(stop);

test('a press on what takes no focus leaves it where it was, and shows it', async () => {
    const page = await open(site({'h_dat.txt': 'moon\n'}).url);
    await page.click(letter('m'));  // found: m is disabled, and the focus went on to k
    const title = await page.$eval('#game-title', (e) => [e.offsetLeft + 60, e.offsetTop + 5]);
    // Where the pointer is pressed, and what is opened first.
    for (const [where, point, first] of [
             ['the empty page', [700, 580]], ['the title bar', title],
             ['beside an open menu', [700, 300], '[data-name=mnuHelp]']]) {
        if (first)
            await page.click(first);
        await page.mouse.click(...point);
        const cue =
            await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle);
        assert.deepEqual([await focusName(page), cue], ['k', 'dotted'], where);
    }
    // A key reaches the game only through the control that shows the focus.
    await page.evaluate(() => document.activeElement.blur());
    await press(page, 'Enter');
    await press(page, ' ');
    const now = await seen(page);
    assert.deepEqual([now.word, now.result, await focusName(page)], ['m???', 'LEFT10', 'outside']);
});

test('a word list that cannot be played is refused, and the game goes on', async () => {
    const {folder, url} = site({'h_dat.txt': 'moon\n'});
    const page = await open(url);
    const huge = path.join(folder, 'huge.txt');
    fs.writeFileSync(huge, '');
    fs.truncateSync(huge, 64 * 1024 * 1024 + 1);
    const choose = async (name, bytes) => {
        if (bytes !== undefined)
            fs.writeFileSync(path.join(folder, name), bytes);
        await (await page.$('#own-list')).uploadFile(path.join(folder, name));
    };
    const lists = () => page.evaluate(
        () =>
            [document.getElementById('list-in-use').textContent,
             document.getElementById('list-refused').textContent]);
    await page.click(letter('z'));
    for (const [name, bytes, why] of [
             ['empty.txt', '', 'The word file holds no words.'],
             ['mark.txt', '\ufeff', 'The word file holds no words.'],
             ['huge.txt', undefined, 'The word file is too large to be a word list.']]) {
        await choose(name, bytes);
        await until(page, () => document.getElementById('list-refused').textContent);
        assert.deepEqual(
            await lists(),
            ['Playing with the game\'s own word list.', `${name} is not used: ${why}`]);
        const now = await seen(page);
        assert.deepEqual([now.word, now.result], ['????', 'LEFT 9'], name);
    }
    // A list that can be played starts a game with it; the game's own list comes back.
    await choose('mine.txt', 'banana\n');
    await until(
        page, () => document.getElementById('list-in-use').textContent.includes('mine.txt'));
    assert.deepEqual([(await seen(page)).word, (await lists())[1]], ['??????', '']);
    // Ended and started again, the game keeps it.
    await page.click('[data-name=mnuFile]');
    await page.click('[data-name=mnuFileExit]');
    await page.click('#again');
    await until(page, () => !document.getElementById('game').hidden);
    assert.equal((await seen(page)).word, '??????');
    await page.click('#game-list');
    await until(page, () => document.getElementById('game-list').hidden);
    assert.equal((await lists())[0], 'Playing with the game\'s own word list.');
    // A file dragged over the page shows where it may be dropped.
    const drag = (type) => page.evaluate((type) => {
        const files = new DataTransfer();
        files.items.add(new File(['fig\n'], 'fig.txt'));
        document.body.dispatchEvent(
            new DragEvent(type, {dataTransfer: files, bubbles: true, cancelable: true}));
        return !document.getElementById('drop').hidden;
    }, type);
    assert.deepEqual([await drag('dragenter'), await drag('dragleave')], [true, false]);
    await drag('dragenter');
    assert.equal(await drag('drop'), false);
    await until(page, () => document.getElementById('list-in-use').textContent.includes('fig.txt'));
    assert.equal((await seen(page)).word, '???');
});

test(
    'a page that cannot start says why: opened from the disk, or without its program', async () => {
        const {folder, url} = site({'vostrel.wasm': null});
        for (const [address, says] of [
                 [`file://${path.join(folder, 'index.html')}`, /Open vostrel\.html/],
                 [url, /could not load the game/]]) {
            const page = await (await launch()).newPage();
            await page.goto(address);
            await page.waitForSelector('#failed:not([hidden])', {timeout: 30000});
            assert.match(await page.$eval('#failed', (e) => e.innerText), says, address);
            await page.browser().close();
        }
    });

test('on a slow network nothing blocks and nothing unchanged is fetched again', async () => {
    const requests = [];
    const slow = async (page) => {
        const cdp = await page.createCDPSession();
        await cdp.send('Network.enable');
        await cdp.send(
            'Network.setBypassServiceWorker', {bypass: true});  // the page's own requests
        await cdp.send(
            'Network.emulateNetworkConditions',
            {offline: false, latency: 400, downloadThroughput: 50000, uploadThroughput: 50000});
        page.on('response', (response) => requests.push([
            path.basename(response.url()), response.status(), response.request().resourceType()
        ]));
        // The page's layout shifts, as a player sees them while it loads.
        await page.evaluateOnNewDocument(() => {
            window.shifted = 0;
            new PerformanceObserver(
                (list) => list.getEntries().forEach((e) => window.shifted += e.value))
                .observe({type: 'layout-shift', buffered: true});
        });
    };
    const page = await open(site({'h_dat.txt': 'moon\n'}).url, undefined, slow);
    await until(page, () => document.getElementById('game').getAttribute('aria-busy') === null);
    await page.waitForNetworkIdle({idleTime: 500, timeout: 30000});
    assert.equal(await page.evaluate(() => window.shifted), 0, 'layout shift');
    requests.length = 0;
    for (const c of 'xyz')
        await page.click(letter(c));
    await until(
        page,
        () =>
            document.querySelector('[data-name=RESULT_LABEL]').firstChild.textContent === 'LEFT 7');
    await page.click('[data-name=CMD_RESET]');
    await until(page, () => document.getElementById('said').textContent.startsWith('New game'));
    // The misses fetched nothing; the new game asked whether the list had changed.
    assert.deepEqual(requests, [['h_dat.txt', 304, 'fetch']]);
});

test(
    'a screen reader: each new game said afresh, Japanese marked, the word read first',
    async () => {
        const page = await open(site({'h_dat.txt': 'a\n'}).url);
        await page.click(letter('a'));
        assert.equal((await seen(page)).alert, 'You\'ve got it !');
        await page.click('[data-name=CMD_RESET]');
        await until(page, () => document.getElementById('said').textContent.startsWith('New game'));
        assert.equal((await seen(page)).alert, '');
        await page.click('[data-name=cmdExit]');
        await page.click('#again');
        await until(page, () => !document.getElementById('game').hidden);
        assert.deepEqual(
            [(await seen(page)).said, (await seen(page)).alert],
            ['New game: a word of 1 letter', '']);
        // Browse mode reads the window in its reading order: what it shows before the letters.
        const tree = JSON.stringify(await page.accessibility.snapshot());
        const at = (name) => tree.indexOf(`"name":"${name}`);
        assert.ok(
            [at('Word:'), at('10 tries left'), at('Gallows')].every((i) => i >= 0 && i < at('a"')),
            tree);
        await press(page, 'h', 'Alt');
        await press(page, 'a');
        await page.click('[data-name=cmdSysInfo]');
        for (const selector of ['#about-title', '[data-name=cmdSysInfo]', '#message-text'])
            assert.equal(
                await page.$eval(selector, (e) => e.closest('[lang]').lang), 'ja', selector);
    });

test(
    'looks: a long word, a player\'s text spacing, crisp pictures, menus by the pointer',
    async () => {
        // A player's own style sheet, there before the page's first script runs.
        const spacing = (page) => page.evaluateOnNewDocument(() => {
            const sheet = new CSSStyleSheet();
            sheet.replaceSync(
                '* { letter-spacing: 0.12em !important; word-spacing: 0.16em !important; }');
            document.adoptedStyleSheets = [sheet];
        });
        const word = 'abcdefghijklmnopqrstuvwxyzab';
        const page = await open(site({'h_dat.txt': `${word}\n`}).url, undefined, spacing);
        for (const c of 'abcdefghijklmnopqrstuvwxyz')
            await page.click(letter(c));
        // Every caption shows whole within its label, and the word keeps clear of the gallows.
        const boxes = await page.$$eval('.label', (all) => all.map((l) => {
            const box = l.getBoundingClientRect();
            const text = l.firstChild.getBoundingClientRect();
            return [
                l.dataset.name, text.left >= box.left - 0.5 && text.right <= box.right + 0.5,
                box.left
            ];
        }));
        for (const [name, whole] of boxes)
            assert.ok(whole, name);
        const picture = await page.$eval('canvas', (c) => c.getBoundingClientRect().right);
        assert.ok(
            boxes.find(([name]) => name === 'WORD_LABEL')[2] > picture,
            'the word is clear of the gallows');
        // At twice the density the gallows and the icon keep their pixels' colours, unsmoothed.
        await page.setViewport({width: 800, height: 600, deviceScaleFactor: 2});
        for (const selector of ['canvas', '[data-name=picIcon]']) {
            if (selector !== 'canvas') {
                await press(page, 'Tab', 'Shift');
                await press(page, 'h', 'Alt');
                await press(page, 'a');
            }
            const shot = await (await page.$(selector)).screenshot({encoding: 'base64'});
            const colours = await page.evaluate(async (png) => {
                const image = await createImageBitmap(await (await fetch(png)).blob());
                const context = new OffscreenCanvas(image.width, image.height).getContext('2d');
                context.drawImage(image, 0, 0);
                const rgba = new Uint32Array(
                    context.getImageData(0, 0, image.width, image.height).data.buffer);
                return new Set(rgba).size;
            }, `data:image/png;base64,${shot}`);
            assert.ok(colours <= 20, `${selector}: ${colours} colours`);
        }
        await press(page, 'Escape');
        // With a menu open, pointing at another title opens it; a press beside them closes it.
        await page.click('[data-name=mnuFile]');
        await page.hover('[data-name=mnuHelp]');
        const menus = () => page.$$eval('[role=menu]', (all) => all.map((m) => !m.hidden));
        assert.deepEqual(await menus(), [false, true]);
        const bar = await page.$eval('#menubar', (e) => {
            const r = e.getBoundingClientRect();
            return [r.right - 10, r.top + r.height / 2];
        });
        await page.mouse.click(...bar);
        assert.deepEqual(await menus(), [false, false]);
        assert.notEqual(await focusName(page), 'menus');
    });
