// The game's files as the page reads them: word lists missing, empty or in UTF-16, pictures
// broken or of every kind a BMP may be.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {letter, open, press, seen, site, start, stop} from './site.mjs';

before(start);
after(stop);

const utf16 = (text, bigEndian) => {
    const le = Buffer.from(`\ufeff${text}`, 'utf16le');
    return bigEndian ? le.swap16() : le;
};

test('the data files: missing, empty, broken, in UTF-16', async () => {
    for (const [files, shown] of [
             // the files, and the message or the word shown
             [{'h_dat.txt': null}, 'Data File Not exists.'],
             [{'h_dat.txt': 'folder'}, 'Data File Not exists.'],
             [{'h_dat.txt': '\ufeff'}, 'The word file holds no words.'],
             [{'h_dat.txt': 'apple\n', '0.bmp': 'BM broken'}, '?????'],
             [{'h_dat.txt': utf16('kiwi\r\n', false)}, '????'],
             [{'h_dat.txt': utf16('ｷｳｲ,', true)}, '???']]) {
        const page = await open(site(files).url);
        const now = await seen(page);
        if (now.message) {
            assert.equal(await page.$eval('#message-text', (e) => e.textContent), shown);
            await press(page, 'Enter');
            assert.equal(
                await page.$eval('#ended', (e) => !e.hidden && document.activeElement.id), 'again');
            continue;
        }
        // The picture 200 pixels a side, blank where its file is broken.
        const picture = await page.$eval(
            'canvas',
            (c) =>
                [c.width, c.height,
                 c.getContext('2d').getImageData(0, 0, 200, 200).data.some((v) => v)]);
        assert.deepEqual([now.word, ...picture], [shown, 200, 200, !files['0.bmp']]);
    }
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
