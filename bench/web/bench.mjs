// What the web page costs: the bytes sent for it and everything it loads, gzip'd as a server
// would send them, and the time from navigation to a page ready for input in headless Chromium,
// against a yardstick: the same page's controls as static HTML, with no program behind them.
// Usage: node bench/web/bench.mjs [runs]   (after `cmake --build --preset web` and `npm ci` in
// tests/web, whose puppeteer-core it borrows)
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

const require = createRequire(new URL('../../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const bin = new URL('../../build/web/bin/', import.meta.url).pathname;
const runs = Number(process.argv[2] ?? 15);

const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vostrel-bench-'));
for (const name of fs.readdirSync(bin))
    fs.copyFileSync(path.join(bin, name), path.join(folder, name));
// Served as the README serves it: Python's own server, a process of its own.
const server =
    spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1'], {cwd: folder});
const port = await new Promise((found) => server.stdout.on('data', (line) => {
    const at = /port (\d+)/.exec(line);
    if (at)
        found(at[1]);
}));
const base = `http://127.0.0.1:${port}/`;
const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: [
        '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'
    ],
});

// Milliseconds from navigation to the page's mark of being ready, and to the end of the first
// frame drawn after it, when the player can see the page they may use; in a fresh profile each
// time. The names of the files it fetched go into `fetched`.
async function readyAfter(url, fetched = new Set()) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    page.on('requestfinished', (request) => {
        fetched.add(path.basename(new URL(request.url()).pathname) || 'index.html');
    });
    await page.evaluateOnNewDocument(() => {
        const mark = performance.mark.bind(performance);
        performance.mark = (name, ...rest) => {
            if (name === 'vostrel-ready')
                requestAnimationFrame(
                    () => setTimeout(() => window.vostrelDrawn = performance.now()));
            return mark(name, ...rest);
        };
    });
    await page.goto(url);
    const ready = await page.waitForFunction(
        () => window.vostrelDrawn &&
            [performance.getEntriesByName('vostrel-ready')[0].startTime, window.vostrelDrawn],
        {timeout: 30000});
    const at = await ready.jsonValue();
    await context.close();
    return at;
}

// The shipped font is loaded only where no installed font has its characters: counted always.
const fetched = new Set(['vostrel-gothic.woff2']);
await readyAfter(base, fetched);
const sent = new Map([...fetched].map((name) => [name, fs.readFileSync(path.join(folder, name))]));
const gzip = (bytes) => zlib.gzipSync(bytes, {level: 9}).length;
console.log('| file | bytes | gzip\'d |\n|---|---|---|');
let total = 0;
for (const [name, body] of [...sent].sort()) {
    total += gzip(body);
    console.log(`| ${name} | ${body.length} | ${gzip(body)} |`);
}
console.log(`| all | | ${total} (${(total / 1024).toFixed(1)} KiB) |`);
const single = fs.readFileSync(path.join(folder, 'vostrel.html'));
console.log(`| vostrel.html, the single file | ${single.length} | ${gzip(single)} |\n`);

// The yardstick: the game's window as the page drew it, its scripts gone.
const page = await browser.newPage();
await page.goto(base);
await page.waitForFunction(() => performance.getEntriesByName('vostrel-ready').length);
const drawn = await page.evaluate(() => {
    for (const script of document.querySelectorAll('script'))
        script.remove();
    return document.documentElement.outerHTML;
});
fs.writeFileSync(
    path.join(folder, 'yardstick.html'),
    drawn.replace(
        '</body>',
        // Ready as the game is: laid out, and the focus on the first control.
        '<script>document.querySelector("#game [data-name=cmdExit]").focus();' +
            'performance.mark("vostrel-ready")</script></body>'));

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const pages = {
    yardstick: 'yardstick.html',
    game: '',
    'game, one file': 'vostrel.html'
};
const times = Object.fromEntries(Object.keys(pages).map((name) => [name, [[], []]]));
for (let run = 0; run < runs; run++) {
    for (const [name, page] of Object.entries(pages))
        (await readyAfter(base + page)).forEach((at, i) => times[name][i].push(at));
}
const yardstick = times.yardstick.map(median);
console.log(`ready for input, medians of ${runs} alternating runs: marked ready | drawn ready`);
for (const name of Object.keys(pages)) {
    const shown = times[name].map(median).map(
        (time, i) => `${time.toFixed(1)} ms (${(time / yardstick[i]).toFixed(2)} ×)`);
    console.log(`  ${name}: ${shown.join(' | ')}`);
}
await browser.close();
server.kill();
fs.rmSync(folder, {recursive: true});
