'use strict';
// Packs the page: its styles and scripts go inside it, so a browser starts the game after one
// request for the page, the program and the first game's files arriving beside it; and the
// windows' definitions, so the page draws the windows before the program has arrived. With
// --whole, the font, icon, program and the game's data files go inside too: a page that plays
// from the disk, where a browser fetches nothing beside a page. Without it, the service worker that
// keeps the page's files for play with no network goes beside the page, its cache named after
// the version and the files it keeps.
// Usage: node pack-page.js <page's sources> <folder of the built page> <program> <design.json>
//        <output> (--whole | --version=<version>)
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

const [sources, folder, program, designFile, output, option] = process.argv.slice(2);
const whole = option === '--whole';
const read = (name) => fs.readFileSync(path.join(folder, name));
const types = {
    '.woff2': 'font/woff2',
    '.png': 'image/png'
};
const inside = (name) =>
    whole ? `data:${types[path.extname(name)]};base64,${read(name).toString('base64')}` : name;
const script = (code) => `<script>${code.replace(/<\/script/gi, '<\\/script')}</script>`;
const source = (name) => fs.readFileSync(path.join(sources, name)).toString();
const design = JSON.parse(fs.readFileSync(designFile, 'utf8'));

const files = {};
for (const name of whole ? design.files : [])
    files[name] = fs.existsSync(path.join(folder, name)) ? read(name).toString('base64') : 404;
const styles = source('page.css').replace(/url\(([\w.-]+)\)/g, (_, name) => `url(${inside(name)})`);
// Scripts inside a page cannot wait for it to be read: they go at its end.
const scripts = (whole ? script(`var VostrelFiles = ${JSON.stringify(files)};`) : '') +
    script(source('page.js')) + script(fs.readFileSync(program).toString());
const [game] = design.windows;

let page =
    source('index.html')
        .replace(/<link rel="stylesheet" href="page.css">/, () => `<style>${styles}</style>`)
        .replace(
            /<link rel="icon" href="([\w.-]+)">/,
            (_, name) => `<link rel="icon" href="${inside(name)}">`)
        .replace(
            '<!-- The windows\' definitions go here. -->',
            () => script(`var VostrelDesign = ${JSON.stringify(design).replace(/</g, '\\u003c')};`))
        .replace(
            '<!-- The first game\'s files are preloaded here. -->',
            () => design.newGame
                      .map((name) => `<link rel="preload" href="${name}" as="fetch" crossorigin>`)
                      .join('\n'))
        .replace(/<script src="[\w.-]+" defer><\/script>\n/g, '')
        .replace('</body>', () => `${scripts}\n</body>`);
if (whole) {
    page = page.replace(/<!-- Fetched at once:[^]*?<\/script>\n/, '')
               .replace(/<link rel="manifest"[^>]*>\n/, '');
}
fs.writeFileSync(output, page);

if (!whole) {
    const kept = [
        path.basename(output), path.basename(program).replace(/\.js$/, '.wasm'),
        ...[...source('page.css').matchAll(/url\(([\w.-]+\.woff2)\)/g)].map((found) => found[1]),
        ...fs.readdirSync(folder).filter((name) => /^vostrel-.*\.png$|\.webmanifest$/.test(name)),
        ...design.files
    ];
    const hash = crypto.createHash('sha256');
    for (const name of kept)
        hash.update(name === path.basename(output) ? page : read(name));
    const version = `${option.replace('--version=', '')}-${hash.digest('hex').slice(0, 12)}`;
    fs.writeFileSync(
        path.join(folder, 'sw.js'),
        source('sw.js')
            .replace('vostrel-VERSION', `vostrel-${version}`)
            .replace('[/* the files */]', JSON.stringify(kept))
            .replace('\'WORDFILE\'', JSON.stringify(design.wordFile)));
}
