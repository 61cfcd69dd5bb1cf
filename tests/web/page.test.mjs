// The single-file page played from the disk.
import assert from 'node:assert/strict';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {bin, letter, open, seen, start, stop} from './site.mjs';

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
