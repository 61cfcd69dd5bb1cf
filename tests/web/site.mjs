// What the browser tests share: the built page copied into throwaway folders, each with the data
// files a test gives it, served over http on the loopback; and Debian's Chromium, headless.
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import puppeteer from 'puppeteer-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const bin = process.env.VOSTREL_WEB_BIN ?? path.join(here, '../../build/web/bin');
const types = {
    '.html': 'text/html',
    '.js': 'text/javascript',
    '.css': 'text/css',
    '.wasm': 'application/wasm',
    '.woff2': 'font/woff2',
    '.png': 'image/png',
    '.webmanifest': 'application/manifest+json'
};

let server;
let browser;
let base;
const sites = [];
const unreachable = new Set();  // sites whose server a player's network no longer reaches

export async function start() {
    server = http.createServer((request, response) => {
        const address = decodeURIComponent(new URL(request.url, base).pathname);
        const file =
            path.join(os.tmpdir(), address.endsWith('/') ? `${address}index.html` : address);
        const site = sites.find((folder) => file.startsWith(folder + path.sep));
        if (unreachable.has(site)) {
            request.socket.destroy();
            return;
        }
        // A folder's name, as common servers answer it: a redirect to its listing.
        if (site && fs.existsSync(file) && fs.statSync(file).isDirectory()) {
            response.writeHead(301, {Location: `${request.url}/`}).end();
            return;
        }
        if (site && address.endsWith('/') && !fs.existsSync(file)) {
            response.writeHead(200, {'Content-Type': 'text/html'}).end('<!DOCTYPE HTML>\n<ul>');
            return;
        }
        if (!site || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
            response.writeHead(404).end();
            return;
        }
        // As a server may, it lets the browser keep what it sent for a while, and answers a
        // conditional request for a file unchanged with 304.
        const body = fs.readFileSync(file);
        const tag = `"${crypto.createHash('sha1').update(body).digest('hex')}"`;
        if (request.headers['if-none-match'] === tag) {
            response.writeHead(304).end();
            return;
        }
        response.writeHead(200, {
            'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
            'Cache-Control': 'max-age=600',
            'ETag': tag,
        });
        response.end(body);
    });
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    base = `http://127.0.0.1:${server.address().port}`;
    browser = await launch();
}

// Chromium with `env` added to this process's environment.
export function launch(env = {}) {
    return puppeteer.launch({
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
        env: {...process.env, ...env},
        // No sandbox as root; nothing fetched from outside, as this network allows none.
        args: [
            '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'
        ],
    });
}

export async function stop() {
    await browser?.close();
    server?.close();
    for (const folder of sites)
        fs.rmSync(folder, {recursive: true, force: true});
}

// A folder holding the built page and its data, with `files` (name: bytes, or null for none) in
// place of the shipped ones; its address.
export function site(files = {}) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vostrel-web-'));
    sites.push(folder);
    for (const name of fs.readdirSync(bin))
        fs.copyFileSync(path.join(bin, name), path.join(folder, name));
    for (const [name, bytes] of Object.entries(files)) {
        if (bytes === null || bytes === 'folder')
            fs.rmSync(path.join(folder, name), {force: true});
        if (bytes === 'folder')
            fs.mkdirSync(path.join(folder, name));
        else if (bytes !== null)
            fs.writeFileSync(path.join(folder, name), bytes);
    }
    return {
        folder,
        url: `${base}/${path.basename(folder)}/`,
        reachable: (on) => on ? unreachable.delete(folder) : unreachable.add(folder),
    };
}

// A new page at `url`, once the game has started or a message stands in its place; `before`
// prepares the page before it is loaded.
export async function open(url, on = browser, before = async () => {}) {
    const page = await on.newPage();
    page.on('pageerror', (error) => console.error('page:', error.message));
    await before(page);
    await page.goto(url);
    await page.waitForSelector(
        '#game:not([hidden]):not(.starting), #message[open]', {timeout: 30000});
    return page;
}

// Waits, as long as a busy machine may need, until `fn` holds in the page.
export const until = (page, fn, ...args) => page.waitForFunction(fn, {timeout: 30000}, ...args);

export const letter = (c) => `[data-name=CMD_ALPHA][data-index="${c.charCodeAt(0) - 97}"]`;

// What the player sees and a screen reader is told, in one look.
export function seen(page) {
    return page.evaluate(() => {
        const text = (name) => document.querySelector(`[data-name=${name}]`).firstChild.textContent;
        const focused = document.activeElement;
        return {
            word: text('WORD_LABEL'),
            result: text('RESULT_LABEL'),
            answer: text('ANSWER_LABEL'),
            gallows: document.querySelector('[data-name=HUNG_PICT]').getAttribute('aria-label'),
            said: document.getElementById('said').textContent,
            alert: document.getElementById('alert').textContent,
            focus: focused.textContent || focused.dataset.name,
            disabled: document.querySelectorAll('[data-name=CMD_ALPHA][aria-disabled=true]').length,
            about: document.getElementById('about').open,
            message: document.getElementById('message').open,
        };
    });
}

export async function press(page, key, modifier) {
    if (modifier)
        await page.keyboard.down(modifier);
    await page.keyboard.press(key);
    if (modifier)
        await page.keyboard.up(modifier);
}

// A table of tests/acceptance: its rows, each its fields by the names of its "#" heading.
export function table(name) {
    const lines = fs.readFileSync(path.join(here, '../acceptance', name), 'utf8').split('\n');
    let columns = [];
    const rows = [];
    for (const line of lines.filter(Boolean)) {
        if (line.startsWith('#')) {
            if (line.includes('\t'))
                columns = line.slice(1).split('\t');
            continue;
        }
        const fields = line.split('\t');
        rows.push(Object.fromEntries(columns.map((column, i) => [column, fields[i]])));
    }
    return rows;
}

// The control that has the focus, as the acceptance tables name it: a letter by its letter;
// "menus" where the menu bar has it, "outside" where it has left the game window.
export function focusName(page) {
    return page.evaluate(() => {
        const active = document.activeElement;
        if (document.getElementById('menubar').contains(active))
            return 'menus';
        if (!active?.closest('.client'))
            return 'outside';
        return active.dataset.name === 'CMD_ALPHA' ? active.textContent : active.dataset.name;
    });
}
