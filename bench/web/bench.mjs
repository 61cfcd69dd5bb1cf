// What the web page costs: the bytes sent for it and everything it loads, gzip'd as a server
// would send them, and the time from navigation to a page ready for input in headless Chromium,
// against a yardstick: the same page's controls as static HTML, with no program behind them.
// Usage: node bench/web/bench.mjs [runs]   (after `cmake --build --preset web` and `npm ci` in
// tests/web, whose puppeteer-core it borrows)
import fs from 'node:fs';
import http from 'node:http';
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
const sent = new Map();
const server = http.createServer((request, response) => {
    const name = path.basename(new URL(request.url, 'http://x').pathname) || 'index.html';
    const file = path.join(folder, name);
    if (!fs.existsSync(file))
        return response.writeHead(404).end();
    const type = {'.wasm': 'application/wasm', '.js': 'text/javascript', '.css': 'text/css'};
    const body = fs.readFileSync(file);
    sent.set(name, body);
    response.writeHead(200, {'Content-Type': type[path.extname(name)] ?? 'text/html'}).end(body);
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: [
        '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'
    ],
});

// Milliseconds from navigation to the page's mark of being ready, in a fresh profile each time.
async function readyAfter(url) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.goto(url);
    const ready = await page.waitForFunction(
        () => performance.getEntriesByName('vostrel-ready')[0]?.startTime, {timeout: 30000});
    const at = await ready.jsonValue();
    await context.close();
    return at;
}

await readyAfter(base);
const gzip = (bytes) => zlib.gzipSync(bytes, {level: 9}).length;
// The shipped font is loaded only where no installed font has its characters: counted always.
sent.set('vostrel-gothic.woff2', fs.readFileSync(path.join(folder, 'vostrel-gothic.woff2')));
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
    drawn.replace('</body>', '<script>performance.mark("vostrel-ready")</script></body>'));

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const times = {
    game: [],
    yardstick: []
};
for (let run = 0; run < runs; run++) {
    times.yardstick.push(await readyAfter(`${base}yardstick.html`));
    times.game.push(await readyAfter(base));
}
const [game, yardstick] = [median(times.game), median(times.yardstick)];
console.log(
    `ready for input (median of ${runs}): yardstick ${yardstick.toFixed(1)} ms, ` +
    `game ${game.toFixed(1)} ms (${(game / yardstick).toFixed(2)} ×)`);
await browser.close();
server.close();
fs.rmSync(folder, {recursive: true});
