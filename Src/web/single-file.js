'use strict';
// Makes the page one file that plays from the disk, where a browser fetches nothing beside a
// page: its styles, font, icon, script and program go inside, and so do the game's data files.
// Usage: node single-file.js <folder of the page> <program built as one script> <output>
const fs = require('fs');
const path = require('path');

const [folder, program, output] = process.argv.slice(2);
const read = (name) => fs.readFileSync(path.join(folder, name));
const types = {
    '.woff2': 'font/woff2',
    '.png': 'image/png'
};
const dataUrl = (name) =>
    `data:${types[path.extname(name)]};base64,${read(name).toString('base64')}`;
const script = (code) => `<script>${code.replace(/<\/script/gi, '<\\/script')}</script>`;

const files = {};
for (const name of fs.readdirSync(folder).sort()) {
    if (name === 'h_dat.txt' || /^\d+\.bmp$/.test(name))
        files[name] = read(name).toString('base64');
}
const styles =
    read('page.css').toString().replace(/url\(([\w.-]+)\)/g, (_, name) => `url(${dataUrl(name)})`);
// Scripts that are inside a page cannot wait for it to be read: they go at its end.
const scripts = script(`var VostrelFiles = ${JSON.stringify(files)};`) +
    script(read('page.js').toString()) + script(fs.readFileSync(program).toString());

const page =
    read('index.html')
        .toString()
        .replace(/<link rel="stylesheet" href="page.css">/, () => `<style>${styles}</style>`)
        .replace(
            /<link rel="icon" href="([\w.-]+)">/,
            (_, name) => `<link rel="icon" href="${dataUrl(name)}">`)
        .replace(/<script src="[\w.-]+" defer><\/script>\n/g, '')
        .replace('</body>', () => `${scripts}\n</body>`);
fs.writeFileSync(output, page);
