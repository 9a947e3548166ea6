// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the page's static files into build-web/dist: the bundled page and
// workers, the compiled core, the help, the icon, the examples, the course's
// students' edition, and the list of them all that the service worker keeps
// for offline use.
import { build } from 'esbuild';
import { copyFileSync, mkdirSync, rmSync, readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { execFileSync } from 'node:child_process';
import { dirname, join, relative } from 'node:path';
import { fileURLToPath } from 'node:url';

const web = join(dirname(fileURLToPath(import.meta.url)), '..');
const root = join(web, '..');
const core = join(root, 'build-web');
const dist = join(core, 'dist');

// Afresh, so no file of an earlier build is served or kept offline.
rmSync(dist, { recursive: true, force: true });
mkdirSync(join(dist, 'examples'), { recursive: true });
const common = { bundle: true, minify: true, sourcemap: true, target: 'chrome110', logLevel: 'warning' };
await build({ ...common, entryPoints: [join(web, 'src/page.js')], outfile: join(dist, 'page.js'), format: 'esm' });
// A classic worker, so it can load the core's glue with importScripts.
await build({ ...common, entryPoints: [join(web, 'src/worker.js')], outfile: join(dist, 'worker.js'), format: 'iife' });
await build({ ...common, entryPoints: [join(web, 'src/outline_worker.js')], outfile: join(dist, 'outline_worker.js'), format: 'iife' });
await build({ ...common, entryPoints: [join(web, 'src/exercise_worker.js')], outfile: join(dist, 'exercise_worker.js'), format: 'iife' });

for (const name of ['index.html', 'style.css', 'sw.js', 'manifest.json']) copyFileSync(join(web, 'src', name), join(dist, name));
for (const name of ['korvane-core.js', 'korvane-core.wasm']) copyFileSync(join(core, name), join(dist, name));
// The window's help, from the same texts: the topics and the list of messages.
const help = ['korvane_help.txt', 'help_messages.txt'].map((n) => readFileSync(join(root, 'app', 'window', n), 'utf8'));
// About: Korvane's licence and those of what the page carries, from the
// package's copyright file (less the lines a distributor fills in).
const copyright = readFileSync(join(root, 'packaging', 'copyright'), 'utf8').split('\n')
    .filter((line) => !/@KORVANE_\w+@/.test(line)).map((line) => (line.trim() ? '  ' + line : ''));
const about = ['= About Korvane', 'Korvane is free software: you may share and change it under the terms of the',
    'GNU General Public License, version 3 or any later version (GPL-3.0-or-later).',
    'The page carries the DejaVu fonts, stb_truetype and the CodeMirror packages;',
    'each is listed below with its licence.', '', ...copyright].join('\n');
writeFileSync(join(dist, 'help.txt'), pageParts(help.join('')) + about + '\n');
writeFileSync(join(dist, 'favicon.ico'), icon(readFileSync(join(root, 'packaging', 'icons', 'korvane-32.png')), 32));

const examples = readdirSync(join(root, 'examples')).filter((n) => /\.(cg|pal)$/.test(n)).sort();
for (const name of examples) copyFileSync(join(root, 'examples', name), join(dist, 'examples', name));
writeFileSync(join(dist, 'examples', 'index.json'), JSON.stringify(examples.filter((n) => n.endsWith('.cg'))));

// The course as students get it, as the package installs it: the grader
// leaves out the hidden checks and the model solutions.
const grade = process.env.KORVANE_GRADE ?? join(root, 'build', 'cli', 'korvane-grade');
mkdirSync(join(dist, 'course'));
const course = readdirSync(join(root, 'course')).sort().map((folder) => {
    const out = join(dist, 'course', folder);
    execFileSync(grade, ['--publish', join(root, 'course', folder), out], { stdio: ['ignore', 'ignore', 'inherit'] });
    const { title } = JSON.parse(readFileSync(join(out, 'exercise.json'), 'utf8'));
    return { folder, title: title ?? folder, files: readdirSync(out).sort() };
});
writeFileSync(join(dist, 'course', 'index.json'), JSON.stringify(course));

// Every file the page may need, so the first visit keeps them all.
const files = (dir) => readdirSync(dir).flatMap((n) => {
    const path = join(dir, n);
    return statSync(path).isDirectory() ? files(path) : [relative(dist, path)];
});
const offline = ['./', ...files(dist).filter((n) => !n.endsWith('.map') && n !== 'precache.json')];
writeFileSync(join(dist, 'precache.json'), JSON.stringify(offline));

// The help without the window's parts: a line "@window" or "@page" starts
// text for that front end only, "@all" text for both.
function pageParts(text) {
    let ours = true;
    return text.split('\n').filter((line) => {
        const marker = /^@(window|page|all)\r?$/.exec(line);
        if (marker) ours = marker[1] !== 'window';
        return !marker && ours;
    }).join('\n');
}

// An icon file holding one PNG image of size x size pixels.
function icon(png, size) {
    const head = Buffer.alloc(22);
    head.writeUInt16LE(1, 2);              // type: icon
    head.writeUInt16LE(1, 4);              // one image
    head.writeUInt8(size, 6);
    head.writeUInt8(size, 7);
    head.writeUInt16LE(1, 10);             // planes
    head.writeUInt16LE(32, 12);            // bits per pixel
    head.writeUInt32LE(png.length, 14);
    head.writeUInt32LE(22, 18);            // where the image starts
    return Buffer.concat([head, png]);
}
