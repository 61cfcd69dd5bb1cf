// What the web page costs: the bytes sent for it and everything it loads, gzip'd as a server
// would send them; the time from navigation to a page ready for input in headless Chromium,
// against a yardstick (the same page's controls as static HTML, with no program behind them) and
// against the page without the fetching its head starts early; and Lighthouse's scores on the
// page served gzip'd, as static hosts serve it, with its mobile defaults.
// Usage: node bench/web/bench.mjs [runs]   (after `cmake --build --preset web`, `npm ci` in
// tests/web, whose puppeteer-core it borrows, and `npm ci` here, for Lighthouse)
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';
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
// Served from this process, as a static host serves files; gzip'd where `packed`, as such hosts
// send them.
const types = {
    '.html': 'text/html',
    '.js': 'text/javascript',
    '.webmanifest': 'application/manifest+json',
    '.wasm': 'application/wasm',
    '.png': 'image/png',
    '.woff2': 'font/woff2'
};
function serve(packed) {
    const server = http.createServer((request, response) => {
        const name = path.basename(new URL(request.url, 'http://x').pathname) || 'index.html';
        const file = path.join(folder, name);
        if (!fs.existsSync(file)) {
            response.writeHead(404).end();
            return;
        }
        const body = fs.readFileSync(file);
        const gzip = packed && !/\.(png|woff2)$/.test(name) &&
            /gzip/.test(request.headers['accept-encoding'] ?? '');
        response.writeHead(200, {
            'Content-Type': types[path.extname(name)] ?? 'text/plain; charset=utf-8',
            'Cache-Control': 'no-cache',
            ...(gzip ? {'Content-Encoding': 'gzip'} : {}),
        });
        response.end(gzip ? zlib.gzipSync(body) : body);
    });
    return new Promise((done) => server.listen(0, '127.0.0.1', () => done(server)));
}
const server = await serve(false);
const port = server.address().port;
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

// The page without its head's early fetching: the program and the first game's files are
// fetched once its script runs.
fs.writeFileSync(
    path.join(folder, 'late.html'),
    fs.readFileSync(path.join(folder, 'index.html'), 'utf8')
        .replace(/<!-- Fetched at once:[^]*?<\/script>\n/, ''));

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const pages = {
    yardstick: 'yardstick.html',
    game: '',
    'game, no early fetching': 'late.html',
    'game, one file': 'vostrel.html'
};
const times = Object.fromEntries(Object.keys(pages).map((name) => [name, [[], []]]));
for (let run = 0; run < runs; run++) {
    for (const [name, page] of Object.entries(pages)) {
        const at = await readyAfter(base + page).catch((error) => {
            throw new Error(`${name}, run ${run + 1}: ${error.message}`);
        });
        at.forEach((time, i) => times[name][i].push(time));
    }
}
const yardstick = times.yardstick.map(median);
console.log(`ready for input, medians of ${runs} alternating runs: marked ready | drawn ready`);
for (const name of Object.keys(pages)) {
    const shown = times[name].map(median).map(
        (time, i) => `${time.toFixed(1)} ms (${(time / yardstick[i]).toFixed(2)} ×)`);
    console.log(`  ${name}: ${shown.join(' | ')}`);
}
// The head's early fetching, in pairs run one after the other: the ratio of each pair.
for (const [i, label] of ['marked ready', 'drawn'].entries()) {
    const ratios =
        times.game[i].map((time, run) => time / times['game, no early fetching'][i][run]);
    console.log(`  early fetching against none, ${label}, pair by pair: ${
        ratios.map((r) => r.toFixed(2)).join(' ')}; median ${median([...ratios]).toFixed(3)}`);
}
await browser.close();
server.close();

// Lighthouse, mobile, with its default throttling, on the page served gzip'd.
const gzipped = await serve(true);
const chrome = await chromeLauncher.launch({
    chromePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu'],
});
const {lhr} = await lighthouse(
    `http://127.0.0.1:${gzipped.address().port}/`,
    {port: chrome.port, output: 'json', logLevel: 'error'});
console.log('\nLighthouse (mobile, default throttling, served gzip\'d):');
for (const category of Object.values(lhr.categories))
    console.log(`  ${category.title}: ${Math.round(category.score * 100)}`);
for (const audit
         of ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time',
             'cumulative-layout-shift', 'speed-index'])
    console.log(`  ${lhr.audits[audit].title}: ${lhr.audits[audit].displayValue}`);
for (const category of Object.values(lhr.categories)) {
    for (const {id} of category.auditRefs) {
        const audit = lhr.audits[id];
        if (audit.score !== null && audit.score < 1 && audit.scoreDisplayMode !== 'informative')
            console.log(`  not passed: ${category.title}: ${audit.title}`);
    }
}
await chrome.kill();
gzipped.close();
fs.rmSync(folder, {recursive: true});
