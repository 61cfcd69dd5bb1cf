// The page played as a player plays it, by mouse and by keyboard, in headless Chromium.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {letter, open, press, seen, site, start, stop, until} from './site.mjs';

before(start);
after(stop);

// What each guess says is the procedures' (tests/forms), and the keys' the acceptance tables';
// here, what the page shows at the end of a game.
test('a lost game: ten misses, the gallows, the answer and the alert', async () => {
    const page = await open(site({'h_dat.txt': 'apple\n'}).url);
    for (const guess of 'bcdfghijk')
        await page.click(letter(guess));
    await page.click(letter('m'));
    assert.deepEqual(await seen(page), {
        word: '?????',
        result: 'You are hunged !',
        answer: 'apple',
        gallows: 'Gallows: 10 of 10 misses',
        said: 'm missed. You are hunged ! Answer: apple',
        alert: 'You are hunged !',
        focus: 'Reset & Start',
        disabled: 26,
        about: false,
        message: false,
    });
});

// Its keys, title and places are the acceptance tables' (design.test.mjs).
test('About: modal over the game, its message, closed by its frame, the focus back', async () => {
    const page = await open(site().url);
    await page.click(letter('q'));
    await page.click('[data-name=mnuHelp]');
    await page.click('[data-name=mnuHelpAbout]');
    const before = await seen(page);
    await page.mouse.click(...await page.$eval(letter('x'), (b) => {
        const r = b.getBoundingClientRect();
        return [r.x + 5, r.y + 5];
    }));
    assert.deepEqual(await seen(page), before, 'the game window beneath takes no click');
    await page.click('[data-name=cmdSysInfo]');
    assert.equal(
        await page.$eval('#message-text', (e) => e.textContent),
        '現時点ではｼｽﾃﾑ情報を使用できません');
    await press(page, 'Enter');
    await page.click('#about-close');
    assert.deepEqual(
        [await page.$eval('#about', (e) => e.open), (await seen(page)).focus], [false, 'q']);
});

const utf16 = (text, bigEndian) => {
    const le = Buffer.from(`\ufeff${text}`, 'utf16le');
    return bigEndian ? le.swap16() : le;
};

test('the data files: missing, empty, broken, in UTF-16, edited between games', async () => {
    const rows = [
        // files, the message, or the word and the picture's size
        [{'h_dat.txt': null}, 'Data File Not exists.'],
        [{'h_dat.txt': '\ufeff'}, 'The word file holds no words.'],
        [{'h_dat.txt': 'apple\n', '0.bmp': 'BM broken'}, '?????', [200, 200]],
        [{'h_dat.txt': utf16('kiwi\r\n', false)}, '????', [200, 200]],
        [{'h_dat.txt': utf16('ｷｳｲ,', true)}, '???', [200, 200]],
    ];
    for (const [files, shown, size] of rows) {
        const {folder, url} = site(files);
        const page = await open(url);
        const now = await page.evaluate(() => ({
                                            message: document.getElementById('message').open &&
                                                document.getElementById('message-text').textContent,
                                            picture: [...['width', 'height'].map(
                                                (side) => document.querySelector('canvas')[side])],
                                            blank: !document.querySelector('canvas')
                                                        .getContext('2d')
                                                        .getImageData(0, 0, 200, 200)
                                                        .data.some((v) => v),
                                        }));
        if (!size) {
            assert.equal(now.message, shown);
            await press(page, 'Enter');
            assert.equal(
                await page.$eval('#ended', (e) => !e.hidden && document.activeElement.id), 'again');
            continue;
        }
        assert.deepEqual([(await seen(page)).word, now.picture], [shown, size]);
        assert.equal(
            now.blank, files['0.bmp'] !== undefined,
            'the blank picture stands in for a broken one');
        // The next new game reads the list again.
        fs.writeFileSync(path.join(folder, 'h_dat.txt'), 'banana\n');
        // The new game starts once the list is fetched afresh.
        await page.click('[data-name=CMD_RESET]');
        await until(
            page,
            () => document.getElementById('said').textContent === 'New game: a word of 6 letters');
    }
});

test('Exit ends the game; started again, it keeps the word list the player chose', async () => {
    const {folder, url} = site({'h_dat.txt': 'apple\n'});
    const page = await open(url);
    fs.writeFileSync(path.join(folder, 'mine.txt'), utf16('fig', true));
    await (await page.$('#own-list')).uploadFile(path.join(folder, 'mine.txt'));
    await until(page, () => document.getElementById('said').textContent.endsWith('3 letters'));
    await page.click('[data-name=mnuFile]');
    await page.click('[data-name=mnuFileExit]');
    assert.equal(
        await page.$eval('#ended', (e) => !e.hidden && document.activeElement.id), 'again');
    await page.click('#again');
    await until(page, () => !document.getElementById('game').hidden);
    assert.equal((await seen(page)).word, '???');
});

// A BMP of 2 × 2 pixels: red and green on the top row, blue and white below.
const pixels = [[0xff0000, 0x00ff00], [0x0000ff, 0xffffff]];
function bmp(bits, {topDown = false, masks = false} = {}) {
    const rows = (topDown ? [0, 1] : [1, 0]).map((y) => {
        const row = Buffer.alloc(Math.ceil(bits / 16) * 4);
        pixels[y].forEach((colour, x) => {
            const at = 2 * y + x;  // its place in the palette
            const [r, g, b] = [colour >> 16, (colour >> 8) & 255, colour & 255];
            if (bits === 4)
                row[0] |= at << (4 - 4 * x);
            else if (bits === 8)
                row[x] = at;
            else if (bits === 16)
                row.writeUInt16LE((r >> 3) << 10 | (g >> 3) << 5 | b >> 3, 2 * x);
            else if (masks)
                row.writeUInt32LE((r << 8 | g << 16 | b << 24) >>> 0, 4 * x);
            else
                row.writeUIntLE(colour, x * bits / 8, 3);
        });
        return row;
    });
    const extra = Buffer.alloc(masks ? 12 : bits <= 8 ? 16 : 0);
    (masks         ? [0xff00, 0xff0000, 0xff000000] :
         bits <= 8 ? pixels.flat() :
                     [])
        .forEach((value, i) => extra.writeUInt32LE(value >>> 0, 4 * i));
    const head = Buffer.alloc(54);
    head.write('BM');
    [[54 + extra.length, 10, 4], [40, 14, 4], [2, 18, 4], [topDown ? 2 ** 32 - 2 : 2, 22, 4],
     [1, 26, 2], [bits, 28, 2], [masks ? 3 : 0, 30, 4], [bits <= 8 ? 4 : 0, 46, 4]]
        .forEach(([value, at, size]) => head.writeUIntLE(value, at, size));
    return Buffer.concat([head, extra, ...rows]);
}

test('every kind of BMP the game reads is drawn pixel for pixel', async () => {
    const kinds = [
        bmp(4), bmp(8), bmp(16), bmp(24), bmp(32), bmp(24, {topDown: true}), bmp(32, {masks: true})
    ];
    const files = {'h_dat.txt': 'apple\n'};
    kinds.forEach((bytes, stage) => files[`${stage}.bmp`] = bytes);
    const page = await open(site(files).url);
    for (const [stage, miss] of [...' bcdfgh'].entries()) {
        if (stage > 0)
            await page.click(letter(miss));
        const drawn = await page.$eval(
            'canvas', (c) => [...c.getContext('2d').getImageData(0, 0, 2, 2).data]);
        assert.deepEqual(
            drawn, [255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255],
            `picture ${stage}`);
    }
});
