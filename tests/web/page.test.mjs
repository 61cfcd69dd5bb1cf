// The page as a whole: where its controls stand, what an accessibility audit finds, and the
// single-file page played from the disk.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {bin, launch, letter, open, press, seen, site, start, stop} from './site.mjs';

before(start);
after(stop);

const boxes = (page) => page.$$eval('.client > *', (all) => all.map((e) => {
    const r = e.getBoundingClientRect();
    const client = e.parentElement.getBoundingClientRect();
    return {
        name: e.dataset.name + (e.dataset.index ?? ''),
        x: r.x - client.x,
        y: r.y - client.y,
        w: r.width,
        h: r.height,
        right: r.right - client.x,
        bottom: r.bottom - client.y,
        clientW: client.width,
        clientH: client.height,
        shown: r.width > 0
    };
}));

test('the controls stand where the window is designed to have them', async () => {
    const page = await open(site({'h_dat.txt': 'ab\n'}).url);
    const all = (await boxes(page)).filter((b) => b.shown);
    const at = Object.fromEntries(all.map((b) => [b.name, b]));
    // The letters: squares of one size, in rows a pitch of 360 twips (24 pixels at 96 dpi) apart
    // both ways, each row starting further right.
    const letters = [...'abcdefghijklmnopqrstuvwxyz'].map((c, i) => at[`CMD_ALPHA${i}`]);
    const pitch = 24;
    const rows = [...new Set(letters.map((b) => b.y))];
    assert.equal(rows.length, 3);
    assert.deepEqual(rows.map((y) => y - rows[0]), [0, pitch, 2 * pitch]);
    for (const [i, b] of letters.entries()) {
        assert.deepEqual([b.w, b.h], [letters[0].w, letters[0].w], b.name);
        assert.ok(b.w < pitch, 'letters do not touch');
        const next = letters[i + 1];
        if (next?.y === b.y)
            assert.equal(next.x - b.x, pitch, b.name);
    }
    const firsts = rows.map((y) => letters.find((b) => b.y === y).x);
    assert.ok(firsts[0] < firsts[1] && firsts[1] < firsts[2]);
    // The rest: no two controls overlap, all lie inside the window, and stand as designed to one
    // another.
    for (const a of all) {
        assert.ok(a.x >= 0 && a.y >= 0 && a.right <= a.clientW && a.bottom <= a.clientH, a.name);
        for (const b of all) {
            const apart = a.right <= b.x || b.right <= a.x || a.bottom <= b.y || b.bottom <= a.y;
            assert.ok(a === b || apart, `${a.name} and ${b.name} overlap`);
        }
    }
    const {
        HUNG_PICT: picture,
        CMD_RESET: reset,
        cmdExit: exit,
        WORD_LABEL: word,
        RESULT_LABEL: result,
        Label1: prompt
    } = at;
    assert.ok(picture.right < Math.min(...firsts), 'the picture stands left of the letters');
    assert.ok(
        reset.y >= picture.bottom && reset.x === picture.x, 'Reset & Start under the picture');
    assert.ok(
        exit.y > letters[25].bottom && exit.right > letters[10].right - pitch, 'Exit below right');
    assert.ok(word.bottom <= result.y && result.bottom <= prompt.y && prompt.bottom <= rows[0]);
    // Every caption fits its label, frame and all.
    assert.deepEqual(
        await page.$$eval(
            '.label',
            (all) => all.filter((l) => l.firstChild.offsetWidth > l.clientWidth)
                         .map((l) => l.dataset.name)),
        []);
    // A label sized to its caption keeps its centre whatever the word.
    const centre = (b) => b.x + b.w / 2;
    const before = centre(word);
    await page.evaluate(() => {
        Module.files['h_dat.txt'] = new TextEncoder().encode('abcdefghijklmnop');
    });
    await page.click('[data-name=CMD_RESET]');
    const longer = (await boxes(page)).find((b) => b.name === 'WORD_LABEL');
    assert.ok(longer.w > word.w && Math.abs(centre(longer) - before) <= 1);
});

const axe = createRequire(import.meta.url).resolve('axe-core/axe.min.js');

test('an accessibility audit finds nothing, in play, with About and with a message', async () => {
    const page = await open(site({'h_dat.txt': 'apple\n'}).url);
    await page.addScriptTag({path: axe});
    const audit = async (state) => {
        const found = await page.evaluate(
            () => axe.run().then(
                (r) => r.violations.map(
                    (v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)));
        assert.deepEqual(found, [], state);
    };
    await page.click(letter('p'));
    await audit('in play');
    await page.click('[data-name=mnuHelp]');
    await audit('with a menu open');
    await page.click('[data-name=mnuHelpAbout]');
    await audit('with About');
    await page.click('[data-name=cmdSysInfo]');
    await audit('with a message');
    await press(page, 'Enter');
    await press(page, 'Escape');
    await page.click('[data-name=cmdExit]');
    await audit('ended');
});

test('the single-file page plays a whole game from the disk', async () => {
    const page = await open(`file://${path.resolve(bin, 'vostrel.html')}`);
    for (const c of 'etaoinshrdlucmfwypvbgkjqxz') {
        if ((await seen(page)).alert)
            break;
        await page.click(letter(c));
    }
    const end = await seen(page);
    assert.ok(['You\'ve got it !', 'You are hunged !'].includes(end.alert), end.alert);
    assert.deepEqual([end.focus, end.disabled], ['Reset & Start', 26]);
    assert.deepEqual(await page.$eval('canvas', (c) => [c.width, c.height]), [200, 200]);
});

test(
    'Japanese text is drawn from the shipped font only where no installed font has it',
    async () => {
        // A system whose only font has no Japanese.
        const none = fs.mkdtempSync(path.join(os.tmpdir(), 'vostrel-fonts-'));
        const latin = execFileSync('fc-match', ['-f', '%{file}', 'DejaVu Sans']).toString();
        fs.copyFileSync(latin, path.join(none, path.basename(latin)));
        fs.writeFileSync(
            path.join(none, 'fonts.conf'),
            `<fontconfig><dir>${none}</dir><cachedir>${none}</cachedir></fontconfig>`);
        const {url} = site();
        for (const [fonts, shipped] of [
                 [{}, false], [{FONTCONFIG_FILE: path.join(none, 'fonts.conf')}, true]]) {
            const browser = await launch(fonts);
            const page = await open(url, browser);
            const fetched = [];
            page.on('requestfinished', (request) => fetched.push(path.basename(request.url())));
            await press(page, 'h', 'Alt');
            await press(page, 'a');
            await page.waitForFunction(() => document.fonts.status === 'loaded');
            const cdp = await page.createCDPSession();
            const {root} = await cdp.send('DOM.getDocument');
            await cdp.send('CSS.enable');
            for (const selector
                     of ['#about-title', '[data-name=cmdSysInfo]', '[data-name=lblVersion]']) {
                const {nodeId} =
                    await cdp.send('DOM.querySelector', {nodeId: root.nodeId, selector});
                const {fonts: used} = await cdp.send('CSS.getPlatformFontsForNode', {nodeId});
                assert.equal(
                    used.some((f) => f.familyName === 'Vostrel Gothic'), shipped, selector);
            }
            assert.equal(fetched.includes('vostrel-gothic.woff2'), shipped);
            await browser.close();
        }
        fs.rmSync(none, {recursive: true});
    });
