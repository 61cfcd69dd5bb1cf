// The single-file page played from the disk, and Japanese text with and without a Japanese font.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {bin, launch, letter, open, press, seen, site, start, stop} from './site.mjs';

before(start);
after(stop);

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
