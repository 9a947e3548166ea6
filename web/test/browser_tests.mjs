// SPDX-License-Identifier: GPL-3.0-or-later
// The browser tests: the page in headless chromium gives what korvane-run
// gives, and a user can halt, read an error, answer getnum and save.
// Each test is bounded in time; the process exits nonzero on any failure.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, existsSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, join } from 'node:path';
import { openPage, load, korvaneRun, root, linkTo, runEnded, runner, toggleLine } from '../tools/page_driver.mjs';
import { nativeRun, nativeTimeline } from './native.mjs';
import { pngIndices } from './png_indices.mjs';

const RANDOM_PROGRAMS = Number(process.env.KORVANE_RANDOM_PROGRAMS ?? 300);
// Only the tests whose names match, when set (for work on one part of the page).
const ONLY = new RegExp(process.env.KORVANE_WEB_TESTS ?? '');
const MAX_STEPS = 20000;
let failures = 0;
let passed = 0;

async function test(name, seconds, body) {
    if (!ONLY.test(name)) return;
    const started = Date.now();
    let timer;
    try {
        await Promise.race([body(), new Promise((_, reject) => {
            timer = setTimeout(() => reject(new Error(`took longer than ${seconds} s`)), seconds * 1000);
        })]);
        passed++;
        console.log(`ok   ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
    } catch (error) {
        failures++;
        console.log(`FAIL ${name}: ${error.message}`);
    } finally {
        clearTimeout(timer);
    }
}

function check(condition, message) {
    if (!condition) throw new Error(message);
}

function differing(a, b) {
    let n = 0;
    for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) n++;
    return n;
}

// Runs one program both ways; throws on any difference.
async function compare(page, file, options) {
    const source = readFileSync(file, 'latin1');
    const native = nativeRun(file, options);
    const web = await korvaneRun(page, source, options);
    for (const key of ['status', 'output', 'message'])
        check(web[key] === native[key], `${file}: ${key} ${JSON.stringify(web[key]).slice(0, 200)} instead of ` +
              JSON.stringify(native[key]).slice(0, 200));
    // Text included: both draw it with the same rasterizer and fonts.
    const diff = differing(web.pixels, native.pixels);
    check(diff === 0, `${file}: ${diff} pixels differ (${native.textPixels} drawn by text)`);
    return { text: native.textPixels };
}

// The page's time from Halt to the end of the run, in milliseconds.
async function haltToEnd(page) {
    return page.evaluate(() => performance.getEntriesByName('halt-to-end').at(-1)?.duration ?? Infinity);
}

// JavaScript heap in use, in MB, of the page and of the worker that runs.
async function heapMegabytes(page) {
    const metrics = await page.metrics();
    const worker = page.workers().find((w) => w.url().endsWith('/worker.js'));
    const { usedSize } = await worker.client.send('Runtime.getHeapUsage');
    return { page: metrics.JSHeapUsedSize / 2 ** 20, worker: usedSize / 2 ** 20 };
}

// The frames of a GIF as the browser's own decoder reads them: how many,
// whether it loops, and the last one's RGBA bytes.
async function gifFrames(page, bytes) {
    // Browsers give ImageDecoder to secure pages only: a plain-http page's
    // GIF is decoded in a page of the same server at 127.0.0.1.
    const secure = await page.evaluate(() => isSecureContext);
    const decoder = secure ? page : await page.browser().newPage();
    if (!secure) await decoder.goto(new URL('/favicon.ico', page.url()).href.replace(/\/\/[^:/]+/, '//127.0.0.1'));
    const r = await decoder.evaluate(async (base64) => {
        const data = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
        const decoder = new ImageDecoder({ data, type: 'image/gif' });
        await decoder.tracks.ready;
        const track = decoder.tracks.selectedTrack;
        const { image } = await decoder.decode({ frameIndex: track.frameCount - 1 });
        const canvas = new OffscreenCanvas(400, 400);
        canvas.getContext('2d').drawImage(image, 0, 0);
        const rgba = canvas.getContext('2d').getImageData(0, 0, 400, 400).data;
        let text = '';
        for (let i = 0; i < rgba.length; i += 8192) text += String.fromCharCode(...rgba.subarray(i, i + 8192));
        return { count: track.frameCount, loops: track.repetitionCount !== 0, rgba: btoa(text) };
    }, bytes.toString('base64'));
    if (!secure) await decoder.close();
    return { count: r.count, loops: r.loops, last: Buffer.from(r.rgba, 'base64') };
}

// How many colour values of a decoded frame (RGBA, top row first) differ
// from the palette indices' colours in our palette.
function wrongColours(rgba, indices) {
    const palette = readFileSync(join(root, 'examples', 'allcolr.pal'));
    let wrong = 0;
    for (let y = 0; y < 400; y++) {
        for (let x = 0; x < 400; x++) {
            const index = indices[(399 - y) * 400 + x];
            const at = (y * 400 + x) * 4;
            for (let c = 0; c < 3; c++) if (rgba[at + c] !== palette[index * 4 + c]) wrong++;
        }
    }
    return wrong;
}

// Waits until a download into folder is complete; its bytes. Chromium may
// create the file empty before it writes it, so existence alone is not enough.
async function downloaded(folder, name) {
    const saved = join(folder, name);
    const complete = () => existsSync(saved) && statSync(saved).size > 0 &&
        !readdirSync(folder).some((f) => f.endsWith('.crdownload'));
    for (let i = 0; i < 200 && !complete(); i++) await new Promise((r) => setTimeout(r, 50));
    return readFileSync(saved);
}

// Records program's run with Record GIF; the downloaded GIF's frames.
async function recordGif(page, url, program, folder) {
    const saved = join(folder, 'korvane.gif');
    rmSync(saved, { force: true });
    await load(page, linkTo(url, program));
    await page.click('#record');
    await page.click('#run');
    await runEnded(page, 20000);
    await page.click('#record');
    return gifFrames(page, await downloaded(folder, 'korvane.gif'));
}

// The page's canvas once its timeline shows call k.
async function canvasAtCall(page, k) {
    await page.waitForFunction((at) => window.korvane.timelineCall() === at, { timeout: 5000 }, k);
    const bytes = await page.evaluate(() => {
        const v = window.korvane.shownIndices();
        let text = '';
        for (let i = 0; i < v.length; i += 8192) text += String.fromCharCode.apply(null, v.subarray(i, i + 8192));
        return btoa(text);
    });
    return new Uint8Array(Buffer.from(bytes, 'base64'));
}

// What the page's pixel history lists for writes as --history prints them.
function historyList(writes) {
    const text = writes.map((w) => w.split(' ')).map(([call, line, builtin, colour]) =>
        `call ${call}, line ${line}: ${builtin}, colour ${colour}`);
    const ends = 1000;
    if (text.length <= 2 * ends) return text;
    return [...text.slice(0, ends), `... ${text.length - 2 * ends} more writes ...`, ...text.slice(-ends)];
}

// A test that types into the editor; afterwards the tab forgets that its
// text was typed, so the next tests' links load without asking which to keep.
function typingTest(page, name, seconds, body) {
    return test(name, seconds, async () => {
        try {
            await body();
        } finally {
            await page.evaluate(() => sessionStorage.clear());
        }
    });
}

// Clicks pixel (x, y) of the canvas, a whole pixel of the screen, as the browser hands the click on.
async function clickPixel(page, x, y) {
    const box = await page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return [r.x, r.y, r.width / 400]; });
    await page.mouse.click(Math.ceil(box[0] + x * box[2]), Math.ceil(box[1] + (399 - y) * box[2]));
}

// The pixel history's entries once the list is there.
async function listedWrites(page) {
    await page.waitForFunction(() => !/finding/.test(document.querySelector('#pixel-history').options[0]?.text ?? 'finding'),
                               { timeout: 10000 });
    return page.$$eval('#pixel-history option', (options) => options.map((o) => o.text));
}

// The serious and critical WCAG 2.1 A and AA violations axe-core finds in the page as it is.
async function axeViolations(page) {
    if (!await page.evaluate(() => !!window.axe))
        await page.addScriptTag({ path: join(root, 'web', 'node_modules', 'axe-core', 'axe.min.js') });
    return page.evaluate(async () => {
        const tags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'];
        const found = await window.axe.run(document, { runOnly: { type: 'tag', values: tags } });
        return found.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
            .map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
    });
}

async function runButton(page) {
    await page.click('#run');
    await page.waitForFunction(() => !document.querySelector('#halt').disabled, { timeout: 5000 });
}

// How many whole bodies of each file the server sent, once the page has
// been quiet (its workers fetch after it is ready) for a second.
async function settledDownloads(server) {
    let last = -1;
    for (let i = 0; i < 40 && server.sent !== last; i++) {
        last = server.sent;
        await new Promise((r) => setTimeout(r, 1000));
    }
    return { bytes: server.sent, core: server.served['/korvane-core.wasm'] ?? 0 };
}

// The page's status line, once it holds text that matches pattern.
async function stateMatching(page, pattern, timeout = 15000) {
    await page.waitForFunction((p) => new RegExp(p).test(document.querySelector('#state').textContent),
                               { timeout }, pattern.source).catch(() => {});
    return page.$eval('#state', (e) => e.textContent);
}

// The whole suite on one host: with the isolation headers at 127.0.0.1
// (shared memory), or as a plain intranet host serves the page, over http
// at a name that is not localhost and without the headers. (Its body keeps
// the indentation it had as the file's top level.)
async function suite({ page, url, server }, plain) {
const scratch = mkdtempSync(join(tmpdir(), 'korvane-web-test-'));
try {
    await test('a first visit downloads the core once, and less than 4 MB in all', 60, async () => {
        await load(page, url);
        const { bytes, core } = await settledDownloads(server);
        check(core === 1 && bytes < 4e6, `the core was sent ${core} times, ${bytes} bytes in all`);
        console.log(`     first visit: ${(bytes / 1e6).toFixed(2)} MB`);
        const state = await stateMatching(page, /^Ready/);
        const mode = plain ? 'messages (no cross-origin isolation)' : 'shared memory';
        check(state === `Ready (${mode})`, `the status line says "${state}"`);
    });

    await test('a program asks for input, pauses at a breakpoint, then Halt ends its endless loop', 30, async () => {
        const program = 'main()\r\n{\r\n  int n;\r\n  n = getnum();\r\n  print(n * 2);\r\n' +
            '  while (1) n = n + 1;\r\n}\r\n';
        await load(page, linkTo(url, program));
        await toggleLine(page, 4);
        await page.click('#run');
        await page.waitForSelector('#ask[open]', { timeout: 5000 });
        await page.type('#ask-answer', '21');
        await page.keyboard.press('Enter');
        const paused = await stateMatching(page, /^Paused/, 5000);
        const variables = await page.$$eval('.variables tbody tr',
                                            (rows) => rows.map((r) => [...r.cells].map((c) => c.textContent).join(' ').trim()));
        check(paused === 'Paused at line 4 (breakpoint)' && variables.includes('n 21'),
              `"${paused}", variables ${JSON.stringify(variables)}`);
        await toggleLine(page, 4);
        await page.keyboard.press('F5');
        await new Promise((r) => setTimeout(r, 300));
        await page.click('#halt');
        await runEnded(page, 5000);
        const took = await haltToEnd(page);
        const shown = await page.evaluate(() => ({ output: window.korvane.output(), report: document.querySelector('#report').textContent }));
        check(shown.output === '42 ' && shown.report.includes('user terminated program in line 5') && took < 500,
              `${took} ms after Halt: output "${shown.output}", report "${shown.report}"`);
    });

    await test('every example gives what korvane-run gives', 120, async () => {
        const dir = join(root, 'examples');
        const options = { input: '12\nx\n' };
        const notes = [];
        for (const name of readdirSync(dir).filter((n) => n.endsWith('.cg')).sort()) {
            const { text } = await compare(page, join(dir, name), options);
            if (text) notes.push(`${name}: all ${text} text pixels equal`);
        }
        for (const n of notes) console.log(`     ${n}`);
    });

    await test(`${RANDOM_PROGRAMS} random programs give what korvane-run gives`, 240, async () => {
        const made = spawnSync(join(root, 'build', 'tests', 'interp', 'write_random_programs'),
                               [String(RANDOM_PROGRAMS), scratch]);
        check(made.status === 0, 'cannot write the random programs: ' + made.stderr);
        let drew = 0;
        for (const name of readdirSync(scratch).sort()) {
            const { text } = await compare(page, join(scratch, name), { seed: 7, maxSteps: MAX_STEPS });
            if (text) drew++;
        }
        console.log(`     ${drew} drew text, all pixels equal`);
    });

    await test('the page nests as deep as korvane-run, with its messages at the limits', 90, async () => {
        const limits = {
            // 262,144 active calls, main's included (one more is too many); a whole-canvas fill is deep_fill.cg
            'calls_at_limit.cg': 'int depth;\r\nf(int n)\r\n{\r\n  int a, b;\r\n  depth = n;\r\n' +
                '  if (n < 262143) f(n + 1);\r\n}\r\nmain()\r\n{\r\n  f(1);\r\n  print(depth);\r\n}\r\n',
            'calls_past_limit.cg': 'f(int n)\r\n{\r\n  f(n + 1);\r\n}\r\nmain()\r\n{\r\n  f(0);\r\n}\r\n',
            'parentheses.cg': `main()\r\n{\r\n  print(${'('.repeat(60000)}1${')'.repeat(60000)});\r\n}\r\n`,
        };
        const files = ['deep_fill.cg', 'subdivision.cg'].map((n) => join(root, 'tests', 'programs', n));
        for (const [name, text] of Object.entries(limits)) {
            writeFileSync(join(scratch, name), text, 'latin1');
            files.push(join(scratch, name));
        }
        for (const file of files) {
            const started = performance.now();
            await compare(page, file, {});
            console.log(`     ${basename(file)}: as korvane-run, ${(performance.now() - started).toFixed(0)} ms`);
        }
        const next = await korvaneRun(page, 'main() { print(6 * 7); }', {});
        check(next.status === 0 && next.output === '42 \n', `then ${JSON.stringify(next.output)}`);
    });

    await test('Halt ends an endless loop, or a drawing call of seconds, within half a second', 40, async () => {
        const grid = 'main()\r\n{\r\n  int i, j;\r\n  clear(0);\r\n  setcolor(5);\r\n  for (i = 0; i < 11; i++)\r\n' +
            '    for (j = 0; j < 11; j++)\r\n      fillrect(20 + 35 * i, 20 + 35 * j, 30 + 35 * i, 30 + 35 * j);\r\n' +
            '  floodfill(2, 2, 9, 5, 0, 1);\r\n}\r\n';
        for (const [program, said] of [['main()\r\n{\r\n  int i;\r\n  while (1) i++;\r\n}\r\n', 'user terminated program'],
                                       [grid, 'Halted inside a drawing call']]) {
            await load(page, linkTo(url, program));
            await runButton(page);
            await new Promise((r) => setTimeout(r, 300));
            await page.click('#halt');
            await runEnded(page, 5000);
            const took = await haltToEnd(page);
            const report = await page.$eval('#report', (e) => e.textContent);
            check(report.includes(said), `report "${report}"`);
            check(took < 500, `the run ended ${took} ms after Halt`);
            console.log(`     ${said}: after ${took.toFixed(1)} ms`);
        }
        const next = await korvaneRun(page, 'main() { print(6 * 7); }', {});
        check(next.output === '42 \n', `then ${JSON.stringify(next.output)}`);
    });

    await test('an error marks its line', 20, async () => {
        await load(page, linkTo(url, 'main()\r\n{\r\n  int x;\r\n  x = 1 +* 2;\r\n}\r\n'));
        await page.click('#run');
        await runEnded(page);
        const marked = await page.evaluate(() => ({
            line: window.korvane.errorLine(),
            shown: document.querySelectorAll('.cm-error-line').length,
            report: document.querySelector('#report').textContent,
        }));
        check(marked.line === 3 && marked.shown === 1, `marked ${JSON.stringify(marked)}`);
        check(marked.report.includes('in line 3'), `report "${marked.report}"`);
    });

    await test('"Midpoint circle" from Exercises: Check says what korvane-run --check says; the differences; the first call; axe', 60, async () => {
        const folder = join(root, 'build-web', 'dist', 'course', '04-midpoint-circle');
        await load(page, url);
        await page.waitForFunction(() => [...document.querySelector('#exercises').options].some((o) => o.text === 'Midpoint circle'),
                                   { timeout: 5000 });
        await page.select('#exercises', '04-midpoint-circle');
        await page.waitForFunction(() => /^Opened/.test(document.querySelector('#state').textContent), { timeout: 10000 });
        const opened = await page.evaluate(() => ({
            title: document.querySelector('#statement-title').textContent,
            heading: document.querySelector('#statement-text h2')?.textContent,
            // The statement's Markdown: emphasis, and the indented block as code.
            emphasis: document.querySelector('#statement-text em')?.textContent,
            code: document.querySelector('#statement-text pre')?.textContent.split('\n')[0],
            editor: document.querySelector('.cm-content').innerText,
        }));
        const starter = readFileSync(join(folder, 'starter.cg'), 'latin1');
        check(opened.title === 'Midpoint circle' && opened.heading === 'Midpoint circle' && opened.emphasis === 'decision variable' &&
              opened.code === 'x = 0, y = r, d = 1 − r' &&
              opened.editor.includes('point(cx + r, cy);'), `opened ${JSON.stringify(opened).slice(0, 300)}`);
        // The starter draws four points: Run answers from the first check's file.
        await page.click('#run');
        await runEnded(page);
        const starterIndices = await page.evaluate(() => [...window.korvane.shownIndices()].filter((i) => i === 6).length);
        check(starter.includes('point(cx, cy - r)') && starterIndices === 4, `the starter's run drew ${starterIndices} points`);
        // A slip in the decision variable's step: the circle comes out too flat.
        const model = readFileSync(join(root, 'course', '04-midpoint-circle', 'model.cg'), 'latin1');
        const slip = join(scratch, 'circle.cg');
        writeFileSync(slip, model.replace('d += 2 * (x - y) + 5;', 'd += 2 * (x - y) + 3;'), 'latin1');
        await (await page.$('#open-file')).uploadFile(slip);
        await page.waitForFunction(() => document.querySelector('.cm-content').innerText.includes('(x - y) + 3'), { timeout: 5000 });
        await page.keyboard.down('Alt');
        await page.keyboard.press('k');
        await page.keyboard.up('Alt');
        await page.waitForFunction(() => document.querySelector('#state').textContent === 'Checked', { timeout: 20000 });
        const listed = await page.$$eval('#check-results .check-line', (ps) => ps.map((p) => p.textContent).join('\n') + '\n');
        // The teacher's folder, hidden check and all: the students' edition must count the same.
        const native = spawnSync(runner, [slip, '--check', join(root, 'course', '04-midpoint-circle')], { encoding: 'utf8', timeout: 20000 });
        check(native.status === 4 && listed === native.stdout, `the page lists\n${listed}korvane-run says (${native.status})\n${native.stdout}`);
        // The second check's views: the accepted picture as its file holds it, its 124 differing pixels in red.
        const views = async (label) => {
            const radio = await page.$$(`#check-results .check-result:nth-child(2) input[type=radio]`);
            await radio[['Your canvas', 'Accepted picture', 'Differences'].indexOf(label)].click();
            return page.evaluate(() => [...window.korvane.shownIndices()]);
        };
        const accepted = pngIndices(readFileSync(join(folder, 'large.png'))).indices;
        check(differing(await views('Accepted picture'), accepted) === 0, 'the accepted picture is not large.png');
        const red = (await views('Differences')).filter((i) => i === 255).length;
        check(red === 124, `the differences show ${red} pixels in red, not 124`);
        await page.click('#check-results .check-result:nth-child(2) button');
        await page.waitForFunction(() => window.korvane.timelineCall() === 482, { timeout: 10000 });
        const marked = await page.$eval('.cm-trace-line', (e) => e.textContent.trim());
        check(marked === 'point(cx + x, cy + y);', `the timeline marks "${marked}"`);
        const faults = await axeViolations(page);
        check(faults.length === 0, `axe, with the statement and the results shown: ${faults.join('; ')}`);
        // Halt ends a check that loops; the next Check has the exercise still.
        writeFileSync(slip, 'main()\r\n{\r\n  int i;\r\n  i = 0;\r\n  while (i == 0) i = 0;\r\n}\r\n', 'latin1');
        await (await page.$('#open-file')).uploadFile(slip);
        await page.waitForFunction(() => document.querySelector('.cm-content').innerText.includes('while'), { timeout: 5000 });
        await page.click('#check');
        await page.waitForFunction(() => !document.querySelector('#halt').disabled, { timeout: 5000 });
        await new Promise((r) => setTimeout(r, 300));
        const halted = Date.now();
        await page.click('#halt');
        await page.waitForFunction(() => document.querySelector('#state').textContent === 'Check halted', { timeout: 2000 });
        check(Date.now() - halted < 1000, `Halt took ${Date.now() - halted} ms to end the check`);
        // A forbidden built-in is named with its line before anything runs.
        writeFileSync(slip, model.replace('point(cx + x, cy + y);', 'circle(cx, cy, x, 6);'), 'latin1');
        await (await page.$('#open-file')).uploadFile(slip);
        await page.waitForFunction(() => document.querySelector('.cm-content').innerText.includes('circle(cx, cy, x, 6)'), { timeout: 5000 });
        await page.click('#check');
        await page.waitForFunction(() => document.querySelector('#state').textContent === 'Checked', { timeout: 20000 });
        const forbidden = await page.$eval('#check-results', (e) => e.textContent);
        check(forbidden === 'forbidden built-in circle in line 7', `the results say "${forbidden}"`);
        // A folder on the page's host, by its address: exercise.json names its files.
        await load(page, `${url}?exercise=course/06-midpoint-ellipse`);
        await page.waitForFunction(() => /^Opened|could not/.test(document.querySelector('#state').textContent), { timeout: 10000 });
        const byAddress = await page.evaluate(() => [document.querySelector('#state').textContent,
            document.querySelector('#statement-title').textContent, !!document.querySelector('#statement-text img')]);
        check(JSON.stringify(byAddress) === '["Opened the exercise \\"Midpoint ellipse\\"","Midpoint ellipse",true]',
              `?exercise= gave ${JSON.stringify(byAddress)}`);
        // A tablet held upright: the statement beside the canvas, the timeline in view under it.
        await page.setViewport({ width: 768, height: 1024 });
        const upright = await page.evaluate(() => {
            const box = (selector) => document.querySelector(selector).getBoundingClientRect();
            return { beside: box('#statement').left >= box('.frame canvas').right,
                     timelineShown: box('#timeline-slider').bottom <= box('.canvas-pane').bottom };
        });
        await page.setViewport({ width: 1280, height: 900 });
        check(upright.beside && upright.timelineShown, `upright: ${JSON.stringify(upright)}`);
    });

    await test('axe finds no serious WCAG 2.1 A or AA fault when idle, paused, after an error and in the help', 60, async () => {
        const found = [];
        const state = async (name) => found.push(...(await axeViolations(page)).map((v) => `${name}: ${v}`));
        await load(page, url);
        await state('idle');
        await load(page, linkTo(url, 'int n;\r\nmain()\r\n{\r\n  // count\r\n  n = 12;\r\n  print("n");\r\n}\r\n'));
        await toggleLine(page, 4);
        await page.click('#run');
        await page.waitForFunction(() => document.querySelector('.cm-pause-statement')?.textContent === 'n = 12;', { timeout: 5000 });
        await state('paused');
        await page.click('#halt');
        await runEnded(page);
        await load(page, linkTo(url, 'main()\r\n{\r\n  pont(1, 2);\r\n}\r\n'));
        await page.click('#run');
        await runEnded(page);
        await page.waitForSelector('.cm-error-note', { timeout: 5000 });
        await state('error');
        await page.keyboard.press('F1');
        await page.waitForFunction(() => document.querySelector('#help-text').textContent.includes('textstyle'), { timeout: 5000 });
        await state('help');
        await page.keyboard.press('Escape');
        check(found.length === 0, found.join('; '));
    });

    await typingTest(page, "an error shows korvane-run's hint under its message and its line, and underlines its token", 30, async () => {
        const cases = [
            ['main()\r\n{\r\n  pont(200, 200);\r\n}\r\n', 'pont'],
            ['main()\r\n{\r\n  int a;\r\n  a = 3;\r\n  if (a > 0 && a < 5) print(a);\r\n}\r\n', '&&'],
        ];
        for (const [program, token] of cases) {
            const file = join(scratch, 'hinted.cg');
            writeFileSync(file, program, 'latin1');
            // The runner's hint line: "hint: line L, column C: text".
            const said = spawnSync(runner, [file], { encoding: 'latin1', timeout: 20000 }).stderr;
            const hint = /^hint: line (\d+), column (\d+): (.*)$/m.exec(said);
            check(hint, `korvane-run printed no hint: ${said}`);
            await load(page, linkTo(url, program));
            await page.click('#run');
            await runEnded(page);
            const shown = await page.evaluate(() => ({
                report: document.querySelector('#report').textContent,
                hint: document.querySelector('#hint').textContent,
                token: window.korvane.errorToken(),
                underlined: [...document.querySelectorAll('.cm-error-token')].map((e) => e.textContent).join(''),
                // The note and the editor line just above it.
                note: document.querySelector('.cm-error-note')?.textContent,
                above: document.querySelector('.cm-error-note')?.previousElementSibling?.textContent,
            }));
            check(said.startsWith(shown.report + '\n'), `report "${shown.report}", korvane-run: ${said}`);
            check(shown.hint === hint[3], `hint "${shown.hint}" instead of "${hint[3]}"`);
            check(shown.token?.line === Number(hint[1]) && shown.token?.column === Number(hint[2]) &&
                  shown.underlined === token, `underlined ${JSON.stringify(shown)} instead of ${token} at ${hint[1]}:${hint[2]}`);
            const line = program.split('\r\n')[Number(/in line (\d+)/.exec(shown.report)[1])];
            check(shown.note === `${shown.report}\n${shown.hint}` && shown.above === line,
                  `note "${shown.note}" under "${shown.above}" instead of under "${line}"`);
        }
        // The next edit clears the underline.
        await page.click('.cm-content');
        await page.keyboard.type(' ');
        await page.waitForFunction(() => window.korvane.errorToken() === null && !document.querySelector('.cm-error-note'),
                                   { timeout: 2000 });
    });

    await typingTest(page, 'typing marks line(1, 2, 300) with its signature, shows call tips and completes names', 30, async () => {
        const program = 'main()\r\n{\r\n  line(1, 2, 300);\r\n}\r\n';
        const file = join(scratch, 'warned.cg');
        writeFileSync(file, program, 'latin1');
        const said = spawnSync(runner, [file], { encoding: 'latin1', timeout: 20000 }).stderr;
        const warning = /^warning: line 2, column 2: (.*)$/m.exec(said);
        check(warning, `korvane-run printed no warning: ${said}`);
        await load(page, linkTo(url, 'main()\r\n{\r\n}\r\n'));
        await page.click('.cm-line:nth-child(2)');
        await page.keyboard.press('End');
        await page.keyboard.type('\nline(1, 2, 300);');
        await page.waitForFunction(() => document.querySelector('.cm-warning')?.textContent === 'line', { timeout: 5000 });
        const at = await page.$eval('.cm-warning', (e) => { const r = e.getBoundingClientRect(); return [r.x + 4, r.y + r.height / 2]; });
        await page.mouse.move(at[0], at[1]);
        await page.waitForSelector('.cm-tooltip-hover', { timeout: 5000 });
        const tip = await page.$eval('.cm-tooltip-hover', (e) => e.innerText);
        check(tip.includes(warning[1]) && tip.includes('line(x1, y1, x2, y2)'), `the warning's tooltip: "${tip}"`);
        await page.mouse.move(0, 0);
        // The call tip follows the arguments; Enter stays a line break, Tab picks a name.
        await page.keyboard.type('\nbrect(1, ');
        await page.waitForSelector('.cm-assist-tip b', { timeout: 5000 });
        const bold = await page.$eval('.cm-assist-tip b', (e) => e.textContent);
        check(bold === 'y1', `the call tip's current argument is "${bold}"`);
        await page.keyboard.type('2);');
        for (const key of ['Enter', 'Tab']) {
            await page.keyboard.type('\nbdi');
            await page.waitForSelector('.cm-tooltip-autocomplete', { timeout: 5000 });
            // The list takes no key in its first moments, so a fast typist picks nothing by accident.
            await new Promise((r) => setTimeout(r, 150));
            await page.keyboard.press(key);
        }
        const lines = await page.$$eval('.cm-line', (all) => all.map((l) => l.textContent.trim()));
        check(lines.slice(3, 7).join('|') === 'brect(1, 2);|bdi||bdisk', `typed: ${JSON.stringify(lines)}`);
    });

    await test("a getnum answer typed into the page's dialog reaches the program; Escape answers 0, as the dialog says", 40, async () => {
        for (const [typed, key, printed] of [['21', 'Enter', '42 '], ['21', 'Escape', '0 ']]) {
            await load(page, linkTo(url, 'main()\r\n{\r\n  int n;\r\n  n = getnum();\r\n  print(n * 2);\r\n}'));
            await page.click('#run');
            await page.waitForSelector('#ask[open]', { timeout: 5000 });
            const note = await page.$eval('#ask-note', (e) => e.textContent);
            check(note === 'An empty answer, Cancel or Escape gives 0.', `the dialog says "${note}"`);
            await page.type('#ask-answer', typed);
            await page.keyboard.press(key);
            await runEnded(page);
            const shown = await page.evaluate(() => ({
                output: window.korvane.output(), program: window.korvane.errorLine() === -1 &&
                    document.querySelector('.cm-content').innerText,
            }));
            check(shown.output === printed, `${key}: the Output pane holds "${shown.output}"`);
            check(!shown.program.includes(printed.trim()), 'the output went into the program text');
        }
    });

    await test('the debugger: a breakpoint in a recursion, steps over, into and out, a pixel watch, Halt at a pause', 40, async () => {
        const program = ['int total;', 'depth(int n) {', '  int k;', '  k = n * 10;', '  if (n > 0)', '    depth(n - 1);',
            '  total = total + k;', '  return k;', '}', 'main() {', '  clear(0);', '  depth(2);', '  setcolor(3);',
            '  point(5, 7);', '  point(5, 7);', '  setcolor(9);', '  point(5, 7);', '  print(total);', '}', ''].join('\r\n');
        await load(page, linkTo(url, program));
        // What a pause shows: the status, the marked statement with its line,
        // the call stack's rows and the Variables panel's.
        const pausedAt = async (status) => {
            await page.waitForFunction((s) => document.querySelector('#state').textContent === s, { timeout: 5000 }, status)
                .catch(async () => { throw new Error(`"${await page.$eval('#state', (e) => e.textContent)}", not "${status}"`); });
            return page.evaluate(() => {
                const lines = [...document.querySelectorAll('.cm-content > .cm-line')];
                const line = lines.findIndex((l) => l.querySelector('.cm-pause-statement'));
                const text = [...document.querySelectorAll('.cm-pause-statement')].map((e) => e.textContent).join('');
                const rows = (table) => [...document.querySelectorAll(`.${table} tbody tr`)]
                    .map((r) => [...r.cells].map((c) => c.textContent).join(' ').trim());
                return `${line}: ${text} | ${rows('call-stack').join(', ')} | ${rows('variables').join(', ')}`;
            });
        };
        const steps = [
            [async () => { await toggleLine(page, 3); await page.click('#run'); }, 'Paused at line 3 (breakpoint)',
                '3: k = n * 10; | depth 11 2, main  1 | Globals, total 0, Locals of depth (depth 2), n 2, k 0'],
            [() => page.keyboard.press('F10'), 'Paused at line 4 (over)',
                '4: if (n > 0) | depth 11 2, main  1 | Globals, total 0, Locals of depth (depth 2), n 2, k 20 *'],
            [() => page.keyboard.press('F10'), 'Paused at line 5 (over)',
                '5: depth(n - 1); | depth 11 2, main  1 | Globals, total 0, Locals of depth (depth 2), n 2, k 20'],
            [() => page.click('button[data-command="1"]'), 'Paused at line 2 (into)',
                '2: int k; | depth 5 3, depth 11 2, main  1 | Globals, total 0, Locals of depth (depth 3), n 1'],
            // Without the breakpoint the deeper call runs through.
            [async () => { await toggleLine(page, 3); await page.keyboard.down('Shift'); await page.keyboard.press('F11');
                           await page.keyboard.up('Shift'); }, 'Paused at line 6 (out)',
                '6: total = total + k; | depth 11 2, main  1 | Globals, total 10 *, Locals of depth (depth 2), n 2, k 20'],
            [() => page.click('.call-stack tbody tr:nth-child(2)'), 'Paused at line 6 (out)',
                '6: total = total + k; | depth 11 2, main  1 | Globals, total 10 *, Locals of main (depth 1)'],
        ];
        for (const [act, status, shown] of steps) {
            await act();
            const seen = await pausedAt(status);
            check(seen === shown, `${status}: ${seen}`);
        }
        // Watched from the inspector: the second write of the same colour is no change.
        const box = await page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return [r.x, r.y, r.width / 400]; });
        await page.mouse.click(box[0] + 5.5 * box[2], box[1] + (399 - 7 + 0.5) * box[2], { button: 'right' });
        await page.click('.context-menu button');
        for (const line of [13, 16]) {
            await page.keyboard.press('F5');
            const seen = await pausedAt(`Paused at line ${line} (pixel 5, 7)`);
            check(seen.startsWith(`${line}: point(5, 7) | main  1`), seen);
        }
        await page.click('#halt');
        await runEnded(page, 2000);
        const took = await haltToEnd(page);
        const report = await page.$eval('#report', (e) => e.textContent);
        check(report.includes('user terminated program in line 16') && took < 500, `${took} ms after Halt: ${report}`);
        console.log(`     Halt at a pause: the run ended after ${took.toFixed(1)} ms`);
    });

    await test("letters beyond Latin-1 survive a run, an error's mark, Save and Share link; Latin-1 stays Latin-1", 30, async () => {
        const folder = mkdtempSync(join(scratch, 'letters-'));
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
        const lines = () => page.$$eval('.cm-line', (all) => all.map((l) => l.textContent));
        const program = '// Kreis für Ana: ñ € Привет 😀\r\nmain()\r\n{\r\n  print("é € x"); pont(1, 2);\r\n}\r\n';
        const file = join(folder, 'letters.cg');
        writeFileSync(file, program, 'utf8');
        const hint = /^hint: line (\d+), column (\d+):/m.exec(spawnSync(runner, [file], { encoding: 'utf8', timeout: 20000 }).stderr);
        check(hint?.[1] === '3' && hint?.[2] === '18', `korvane-run's hint: ${hint}`);
        await load(page, linkTo(url, program, 'utf8'));
        check((await lines())[0] === '// Kreis für Ana: ñ € Привет 😀', `opened as ${JSON.stringify(await lines())}`);
        await page.click('#run');
        await runEnded(page);
        const shown = await page.evaluate(() => ({ output: window.korvane.output(), token: window.korvane.errorToken() }));
        check(shown.output === 'é € x', `the Output pane holds "${shown.output}"`);
        check(shown.token?.line === 3 && shown.token?.column === 18 && shown.token?.text === 'pont',
              `underlined ${JSON.stringify(shown.token)}`);
        await page.click('#save');
        const saved = await downloaded(folder, 'program.cg');
        check(saved.equals(Buffer.from(program, 'utf8')), `saved as ${JSON.stringify(saved.toString('latin1'))}`);
        await page.click('#share');
        await page.waitForFunction(() => location.hash.startsWith('#program='), { timeout: 5000 });
        const shared = await page.evaluate(() => location.href);
        await load(page, shared);
        check((await lines())[0] === '// Kreis für Ana: ñ € Привет 😀', `shared as ${JSON.stringify(await lines())}`);
        // A Latin-1 program, as older links and files hold it, is read and saved as before.
        const latin1 = '// für é\r\nmain()\r\n{\r\n}\r\n';
        await load(page, linkTo(url, latin1));
        check((await lines())[0] === '// für é', `a Latin-1 link opened as ${JSON.stringify(await lines())}`);
        rmSync(join(folder, 'program.cg'));
        await page.click('#save');
        const kept = await downloaded(folder, 'program.cg');
        check(kept.equals(Buffer.from(latin1, 'latin1')), `saved as ${JSON.stringify(kept.toString('latin1'))}`);
    });

    await typingTest(page, 'by keys alone: leave the editor, type, run to a breakpoint, step, scrub, inspect and watch a pixel, halt', 60, async () => {
        const press = async (key, times = 1) => {
            for (let i = 0; i < times; i++) await page.keyboard.press(key);
        };
        const chord = async (modifier, key) => {
            await page.keyboard.down(modifier);
            await page.keyboard.press(key);
            await page.keyboard.up(modifier);
        };
        const focused = () => page.evaluate(() => document.activeElement.id || document.activeElement.className);
        const state = (s) => page.waitForFunction((t) => document.querySelector('#state').textContent === t, { timeout: 5000 }, s)
            .catch(async () => { throw new Error(`"${await page.$eval('#state', (e) => e.textContent)}", not "${s}"`); });
        await load(page, url);
        await press('F6');
        check(await focused() === 'new', `F6 from the page went to ${await focused()}`);
        await press('F6');
        check(await focused() === 'cm-content', `the second F6 went to ${await focused()}`);
        // Tab indents; Escape then Tab leaves, as the hint under the editor says.
        await chord('Control', 'KeyA');
        await press('Tab');
        await press('Escape');
        await press('Tab');
        check(await focused() === 'output', `Escape, Tab went to ${await focused()}`);
        const text = await page.$eval('.cm-content', (e) => e.innerText);
        check(/^ +\S/.test(text), `Tab did not indent: ${JSON.stringify(text.slice(0, 20))}`);
        const hint = await page.$eval('#editor-keys', (e) => e.textContent);
        check(hint === 'Tab indents. Escape then Tab leaves the editor; F6 moves between panes.', `the hint: "${hint}"`);
        await chord('Shift', 'F6');
        await chord('Control', 'KeyA');
        await page.keyboard.type('main()\n{\nint i;\nclear(0);\nfor (i = 0; i < 50; i++)\npoint(i, 7);\nprint(i);\n}\n');
        await chord('Control', 'Home');
        await press('ArrowDown', 5);
        await press('F9');
        await chord('Alt', 'KeyR');
        await state('Paused at line 5 (breakpoint)');
        check(await focused() === 'cm-content', `at the pause the focus is on ${await focused()}`);
        await press('F10');
        await state('Paused at line 4 (over)');
        // Four more points: the fourth, call 5, draws pixel (3, 7).
        for (let i = 1; i <= 4; i++) {
            await press('F5');
            await page.waitForFunction((k) => document.querySelector('#timeline-at').textContent === `${k} / ${k}`,
                                       { timeout: 5000 }, i + 1);
        }
        await state('Paused at line 5 (breakpoint)');
        // F6 to the canvas, Tab past Play and the speed to the timeline.
        await press('F6', 2);
        check(await focused() === 'canvas', `F6 from the editor went to ${await focused()}`);
        await press('Tab', 3);
        check(await focused() === 'timeline-slider', `Tab from the canvas went to ${await focused()}`);
        await press('Home');
        await page.waitForFunction(() => window.korvane.timelineCall() === 0, { timeout: 5000 });
        await press('End');
        await chord('Shift', 'Tab');
        await chord('Shift', 'Tab');
        await chord('Shift', 'Tab');
        // The cursor starts mid-canvas: to pixel (3, 7).
        for (const [key, times] of [['ArrowLeft', 19], ['ArrowDown', 19]]) {
            await page.keyboard.down('Shift');
            await press(key, times);
            await page.keyboard.up('Shift');
        }
        await press('ArrowLeft', 7);
        await press('ArrowDown', 3);
        const inspector = await page.$eval('#inspector', (e) => e.textContent);
        check(inspector.startsWith('x 3  y 7  index '), `the inspector says "${inspector}"`);
        await press('Enter');
        const writes = await listedWrites(page);
        check(writes.join('|') === 'call 1, line 3: clear, colour 0|call 5, line 5: point, colour 0', `the writes of (3, 7): ${writes.join('|')}`);
        await chord('Shift', 'F10');
        await press('Enter');
        const watched = await page.$eval('#watches', (e) => e.textContent);
        check(watched === 'Pause when it changes: (3, 7) ✕' && await focused() === 'canvas',
              `watches "${watched}", the focus on ${await focused()}`);
        await chord('Alt', 'KeyH');
        await runEnded(page, 2000);
        const report = await page.$eval('#report', (e) => e.textContent);
        check(report.includes('user terminated program in line 5'), `report "${report}"`);
    });

    await test("Describe canvas tells the colours shown and the last run's calls in words, as the window's does", 30, async () => {
        const described = async () => {
            await page.waitForFunction(() => document.activeElement?.id === 'description', { timeout: 5000 });
            return page.$eval('#description-text', (e) => e.textContent);
        };
        await load(page, linkTo(url, 'main()\r\n{\r\nclear(0);\r\nsetcolor(2);\r\nfillrect(10, 20, 12, 21);\r\n}\r\n'));
        const head = 'The canvas is 400 by 400 pixels; x runs from the left, y from the bottom.\n' +
            'Colours on it, most pixels first:\n';
        await page.click('#describe');
        const before = await described();
        check(before === head + 'colour 0 (red 0, green 0, blue 0): 160000 pixels, x 0 to 399, y 0 to 399\n\n' +
              'The drawing calls are listed after a run.', `before a run: ${JSON.stringify(before)}`);
        await page.click('#run');
        await runEnded(page);
        check(await page.$eval('#description', (e) => e.hidden), 'a run leaves the description of the canvas before it');
        // By keys, and the window's text to the letter.
        await page.focus('#describe');
        await page.keyboard.press('Enter');
        const after = await described();
        check(after === head + 'colour 0 (red 0, green 0, blue 0): 159994 pixels, x 0 to 399, y 0 to 399\n' +
              'colour 2 (red 255, green 0, blue 0): 6 pixels, x 10 to 12, y 20 to 21\n\n' +
              'The last run made 2 drawing calls:\n1. line 2: clear(0)\n2. line 4: fillrect(10, 20, 12, 21) colour 2',
              `after the run: ${JSON.stringify(after)}`);
        const found = await axeViolations(page);
        check(found.length === 0, `with the description shown: ${found.join('; ')}`);
        await page.keyboard.press('Escape');
        const back = await page.evaluate(() => [document.querySelector('#description').hidden, document.activeElement.id]);
        check(back.join() === 'true,describe', `after Escape: hidden, focus on ${JSON.stringify(back)}`);
        // At a pause: the canvas so far, and the one call so far; Continue takes it away.
        await toggleLine(page, 4);
        await page.click('#run');
        await page.waitForFunction(() => document.querySelector('#state').textContent === 'Paused at line 4 (breakpoint)', { timeout: 5000 });
        await page.click('#describe');
        const paused = await described();
        check(paused === head + 'colour 0 (red 0, green 0, blue 0): 160000 pixels, x 0 to 399, y 0 to 399\n\n' +
              'The last run made 1 drawing call:\n1. line 2: clear(0)', `at the pause: ${JSON.stringify(paused)}`);
        await page.keyboard.press('F5');
        await runEnded(page);
        check(await page.$eval('#description', (e) => e.hidden), 'the pause\'s description stays after Continue');
    });

    await test("the first program a newcomer sees draws in a colour that stands out from the canvas's (4.5:1)", 20, async () => {
        await page.evaluate(() => { localStorage.clear(); sessionStorage.clear(); });
        await load(page, url);
        await page.click('#run');
        await runEnded(page);
        const colours = await page.evaluate(() => {
            const used = [...new Set(window.korvane.shownIndices())];
            const luminance = (index) => window.korvane.paletteEntry(index).map((v) => v / 255)
                .map((v) => (v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
                .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
            const [a, b] = used.map(luminance).sort((x, y) => y - x);
            return { used, ratio: (a + 0.05) / (b + 0.05) };
        });
        check(colours.used.length === 2 && colours.ratio >= 4.5, `colours ${colours.used}, contrast ${colours.ratio}:1`);
    });

    await typingTest(page, 'a new run, another program or New leaves nothing of the last run on the screen; each file keeps its watches', 40, async () => {
        const shown = () => page.evaluate(() => ({
            panels: ['call-stack', 'variables'].map((t) => document.querySelector(`.${t} tbody`).textContent).join('|'),
            inspector: document.querySelector('#inspector').textContent,
            history: document.querySelector('#pixel-history').hidden,
            at: document.querySelector('#timeline-at').textContent,
            state: document.querySelector('#state').textContent,
            report: document.querySelector('#report').textContent,
            output: window.korvane.output(),
            watches: document.querySelector('#watches').textContent,
            drawn: window.korvane.shownIndices().some((v) => v !== 0),
        }));
        const first = 'int y;\r\nmain()\r\n{\r\n  clear(4);\r\n  y = getnum();\r\n  print(y);\r\n}\r\n';
        await load(page, linkTo(url, first));
        await toggleLine(page, 5);
        await page.click('#run');
        await page.waitForSelector('#ask[open]', { timeout: 5000 });
        await page.keyboard.press('Enter');
        await page.waitForFunction(() => document.querySelector('#state').textContent === 'Paused at line 5 (breakpoint)', { timeout: 5000 });
        await clickPixel(page, 9, 9);
        await listedWrites(page);
        const corner = await page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return [Math.ceil(r.x) + 2, Math.ceil(r.y) + 2]; });
        await page.mouse.click(...corner, { button: 'right' });
        await page.click('.context-menu button');
        await page.click('#halt');
        await runEnded(page);
        const watched = (await shown()).watches;
        check(watched === 'Pause when it changes: (2, 397) ✕', `the watches: "${watched}"`);
        // Run again: until its first pause the panels are empty.
        await page.click('#run');
        await page.waitForSelector('#ask[open]', { timeout: 5000 });
        const running = await shown();
        check(running.panels === '|' && running.at === '0 / 0' && running.history && running.output === '',
              `while the next run waits: ${JSON.stringify(running)}`);
        await page.keyboard.press('Escape');
        await page.waitForFunction(() => document.querySelector('#state').textContent === 'Paused at line 5 (breakpoint)', { timeout: 5000 });
        await page.click('#halt');
        await runEnded(page);
        const other = join(scratch, 'other.cg');
        writeFileSync(other, 'main()\r\n{\r\n  int x;\r\n}\r\n', 'latin1');
        const [chooser] = await Promise.all([page.waitForFileChooser({ timeout: 5000 }), page.click('#open')]);
        await chooser.accept([other]);
        await page.waitForFunction(() => document.querySelector('.cm-content').innerText.includes('int x;'), { timeout: 5000 });
        const opened = await shown();
        const fresh = {
            panels: '|', inspector: 'Point at the canvas, or focus it and use the arrow keys, to inspect a pixel; click it (Enter) for every write of it.',
            history: true, at: '0 / 0', state: 'Ready', report: '', output: '',
            watches: 'Right-click a pixel (Shift+F10 at the canvas cursor) to pause when it changes.', drawn: false,
        };
        check(JSON.stringify(opened) === JSON.stringify(fresh), `after Open: ${JSON.stringify(opened)}`);
        // An example does not take the watches of another file either.
        await page.select('#examples', 'circles.cg');
        await page.waitForFunction(() => document.querySelector('.cm-content').innerText.includes('circle'), { timeout: 5000 });
        check((await shown()).watches === fresh.watches, 'an example has the watches of another file');
        // New asks before typed work is lost: Escape keeps it; Save downloads it,
        // then leaves an empty program, without the example's run, watch or
        // description. Open asks too, and Discard drops the typed text.
        await page.click('#run');
        await runEnded(page);
        await page.mouse.click(...corner, { button: 'right' });
        await page.click('.context-menu button');
        await page.click('#describe');
        await page.waitForSelector('#description:not([hidden])', { timeout: 5000 });
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: scratch });
        const answer = async (button, choice) => {
            await page.click(button);
            await page.waitForSelector('#unsaved[open]', { timeout: 2000 });
            const asked = await page.$eval('#unsaved p', (e) => e.innerText);
            check(asked === 'The program has been modified.\nDo you want to save your changes?', `${button} asks "${asked}"`);
            if (choice === 'Escape') await page.keyboard.press('Escape');
            else await page.click(`#unsaved button[value="${choice}"]`);
            await page.waitForSelector('#unsaved:not([open])', { timeout: 2000 });
        };
        await page.click('.cm-content');
        await page.keyboard.type('/*kept*/');
        await answer('#new', 'Escape');
        check((await page.$eval('.cm-content', (e) => e.innerText)).includes('/*kept*/'), 'Escape lost the typed text');
        await answer('#new', 'save');
        const saved = (await downloaded(scratch, 'circles.cg')).toString('latin1');
        check(saved.includes('/*kept*/') && saved.includes('\r\n'), `Save gave ${JSON.stringify(saved.slice(0, 80))}`);
        await page.waitForFunction(() => document.querySelector('.cm-content').innerText.trim() === '', { timeout: 2000 });
        const emptied = await shown();
        check(JSON.stringify(emptied) === JSON.stringify(fresh), `after New: ${JSON.stringify(emptied)}`);
        check(await page.$eval('#description', (e) => e.hidden), 'the example\'s description stays after New');
        await page.keyboard.type('y');
        await page.click('#open');
        await page.waitForSelector('#unsaved[open]', { timeout: 2000 });
        const [reopen] = await Promise.all([page.waitForFileChooser({ timeout: 5000 }),
                                            page.click('#unsaved button[value="discard"]')]);
        await reopen.accept([other]);
        await page.waitForFunction(() => document.querySelector('.cm-content').innerText.includes('int x;'), { timeout: 5000 });
        // Nothing typed since: the next program comes without a question.
        await page.click('#new');
        check(!await page.$eval('#unsaved', (e) => e.open), 'New asks about a program opened as it is');
    });

    await test("Save Image downloads a PNG whose indices equal the runner's", 30, async () => {
        const file = join(root, 'examples', 'circles.cg');
        await load(page, linkTo(url, readFileSync(file, 'latin1')));
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: scratch });
        await page.click('#run');
        await runEnded(page);
        await page.click('#save-png');
        const picture = pngIndices(await downloaded(scratch, 'korvane.png'));
        check(picture.width === 400 && picture.height === 400, `size ${picture.width} x ${picture.height}`);
        const diff = differing(picture.indices, nativeRun(file).pixels);
        check(diff === 0, `${diff} pixels differ`);
    });
    await test('Record GIF holds every show, as korvane-run --gif does', 60, async () => {
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: scratch });
        // Noise makes the coder's table fill up and start again many times.
        const noise = 'main()\r\n{\r\n  int i, f;\r\n  for (f = 0; f < 3; f++) {\r\n' +
            '    for (i = 0; i < 40000; i++) { setcolor(rand(256)); point(rand(400), rand(400)); }\r\n' +
            '    show();\r\n    sleep(100);\r\n  }\r\n}\r\n';
        const file = join(scratch, 'noise.cg');
        writeFileSync(file, noise, 'latin1');
        const recorded = await recordGif(page, url, noise, scratch);
        const wrong = wrongColours(recorded.last, nativeRun(file).pixels);
        check(recorded.count === 3, `${recorded.count} frames of 3 shows`);
        check(wrong === 0, `${wrong} colour values of the last frame differ`);
        // Shows five milliseconds apart, faster than the display refreshes.
        const animation = join(root, 'examples', 'animation.cg');
        const page16 = await recordGif(page, url, readFileSync(animation, 'latin1'), scratch);
        const gif = join(scratch, 'native.gif');
        spawnSync(join(root, 'build', 'cli', 'korvane-run'), [animation, '--gif', gif], { timeout: 20000 });
        const native16 = await gifFrames(page, readFileSync(gif));
        check(page16.count === native16.count && page16.count === 16,
              `animation.cg: ${page16.count} frames in the page, ${native16.count} from korvane-run`);
        check(page16.loops === false && native16.loops === false, 'a recording plays once');
    });

    await test("after a run and at a pause the timeline shows the canvas of korvane-run --at-call; a clicked pixel's writes are --history's", 90, async () => {
        // One pixel written more often than the list shows.
        const many = join(scratch, 'many.cg');
        writeFileSync(many, 'main()\r\n{\r\n  int i;\r\n  for (i = 0; i < 2500; i++) {\r\n    setcolor(i % 250);\r\n' +
                      '    point(100, 300);\r\n  }\r\n}\r\n', 'latin1');
        // More calls than the timeline holds: heavy ones, so that keyframes come often.
        const kept = join(scratch, 'kept.cg');
        writeFileSync(kept, 'main()\r\n{\r\n  int i;\r\n  for (i = 0; i < 40000; i++) {\r\n    setcolor(i % 200 + 1);\r\n' +
                      '    textout(10, 10, "x");\r\n    point(i % 400, 7);\r\n  }\r\n}\r\n', 'latin1');
        const examples = (name) => join(root, 'examples', name);
        for (const [file, x, y] of [[examples('floodfill.cg'), 100, 100], [examples('lines.cg'), 200, 200],
                                    [examples('animation.cg'), 200, 200], [kept, 5, 7], [many, 100, 300]]) {
            await load(page, linkTo(url, readFileSync(file, 'latin1')));
            await page.click('#run');
            await runEnded(page, 20000);
            const at = await page.$eval('#timeline-at', (e) => e.textContent);
            const [, n, first] = at.match(/^\d+ \/ (\d+)(?: \(kept from (\d+)\))?$/).map((v) => Number(v ?? 0));
            const said = nativeTimeline(file, 0, x, y).message;
            check(first === 0 ? said === '' : said.includes(`keeps calls ${first + 1} to ${n}`),
                  `${file}: the page says "${at}", korvane-run "${said.trim()}"`);
            await clickPixel(page, x, y);
            const listed = await listedWrites(page);
            const expected = historyList(nativeTimeline(file, 0, x, y).writes);
            check(listed.join('\n') === expected.join('\n'), `${file} (${x}, ${y}): the page lists ` +
                  `${listed.length} writes (${listed.slice(0, 2)}), korvane-run ${expected.length} (${expected.slice(0, 2)})`);
            // The keys a user moves by, then a write chosen from the list.
            await page.focus('#timeline-slider');
            const chosen = Number(listed[Math.floor(listed.length / 4)].match(/^call (\d+)/)[1]);
            const page1 = Math.max(1, Math.floor((n - first) / 100));
            for (const [key, k] of [['Home', first], ['ArrowRight', first + 1], ['PageUp', first + 1 + page1],
                                    ['End', n], ['ArrowLeft', n - 1], [chosen, chosen]]) {
                if (typeof key === 'number') await page.select('#pixel-history', String(key));
                else await page.keyboard.press(key);
                const diff = differing(await canvasAtCall(page, k), nativeTimeline(file, k, x, y).pixels);
                check(diff === 0, `${file}: ${diff} pixels differ at call ${k} of ${n}`);
            }
        }
        // GIF... of the last program's calls 100 to 1100, a frame every 250 calls.
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: scratch });
        await page.click('#timeline-gif');
        await page.waitForSelector('#gif-range[open]', { timeout: 2000 });
        for (const [id, value] of [['#gif-from', '100'], ['#gif-to', '1100'], ['#gif-every', '250']])
            await page.$eval(id, (e, v) => { e.value = v; }, value);
        await page.click('#gif-range button[value="ok"]');
        const gif = await gifFrames(page, await downloaded(scratch, 'korvane-timeline.gif'));
        const wrong = wrongColours(gif.last, nativeTimeline(many, 1100, 0, 0).pixels);
        check(gif.count === 5 && wrong === 0, `the GIF has ${gif.count} frames of 5; ${wrong} colour values ` +
              'of the last differ from call 1100');
        // At a pause before line 13 the bar spans the 7 calls so far. Halt
        // there leaves the paused canvas, whatever the slider showed; Continue
        // ends with the run's final picture.
        const fill = examples('floodfill.cg');
        const pausedWrites = historyList(nativeTimeline(fill, 0, 100, 100).writes.filter((w) => Number(w.split(' ')[0]) <= 7));
        for (const end of ['#halt', 'F5']) {
            await load(page, linkTo(url, readFileSync(fill, 'latin1')));
            await toggleLine(page, 13);
            await page.click('#run');
            await page.waitForFunction(() => document.querySelector('#state').textContent === 'Paused at line 13 (breakpoint)' &&
                                       document.querySelector('#timeline-at').textContent === '7 / 7', { timeout: 5000 });
            await clickPixel(page, 100, 100);
            const listed = await listedWrites(page);
            check(listed.join('\n') === pausedWrites.join('\n'), `at the pause: ${listed} instead of ${pausedWrites}`);
            await page.focus('#timeline-slider');
            for (const [key, k] of [['Home', 0], ['ArrowRight', 1], ['End', 7], ['ArrowLeft', 6], [7, 7], ['Home', 0]]) {
                if (typeof key === 'number') await page.select('#pixel-history', String(key));
                else await page.keyboard.press(key);
                const diff = differing(await canvasAtCall(page, k), nativeTimeline(fill, k, 0, 0).pixels);
                check(diff === 0, `${diff} pixels differ at call ${k} of a pause`);
            }
            if (end === '#halt') await page.click(end);
            else await page.keyboard.press(end);
            await runEnded(page, 5000);
            const expected = end === '#halt' ? nativeTimeline(fill, 7, 0, 0).pixels : nativeRun(fill).pixels;
            const diff = differing(await canvasAtCall(page, null), expected);
            check(diff === 0, `${end} at a pause: ${diff} pixels differ from what the run left`);
        }
    });

    await test('Halt ends a printing endless loop within half a second, memory bounded', 60, async () => {
        await load(page, linkTo(url, 'main()\r\n{\r\n  int i;\r\n  i = 0;\r\n  while (i < 10) {\r\n' +
                                     '    print(i);\r\n  }\r\n}\r\n'));
        await runButton(page);
        await new Promise((r) => setTimeout(r, 4000));
        const heap = await heapMegabytes(page);
        // As on the desktop the program cannot be edited while it runs.
        const editable = await page.$eval('.cm-content', (e) => e.contentEditable);
        const clicked = Date.now();
        await page.click('#halt');
        await runEnded(page, 5000);
        const took = await haltToEnd(page);
        const seen = await page.evaluate(() => ({
            lines: window.korvane.output().split('\n').length,
            report: document.querySelector('#report').textContent,
        }));
        console.log(`     halted after ${took.toFixed(1)} ms (${Date.now() - clicked} ms from the test's click); ` +
                    `heap after 4 s: page ${heap.page.toFixed(1)} MB, worker ${heap.worker.toFixed(1)} MB`);
        check(took < 500, `the run ended ${took} ms after Halt`);
        check(seen.report.includes('user terminated program'), `report "${seen.report}"`);
        check(/\d+ earlier output lines were dropped/.test(seen.report), `report "${seen.report}"`);
        check(seen.lines === 10000, `${seen.lines} lines in the Output pane`);
        check(editable === 'false', `the editor is editable (${editable}) while the program runs`);
        // Every kept line can be copied, not only those in view.
        await page.focus('#output');
        await page.keyboard.down('Control');
        await page.keyboard.press('KeyA');
        await page.keyboard.up('Control');
        const copied = await page.$eval('#output', (pane) => {
            const event = new ClipboardEvent('copy', { clipboardData: new DataTransfer(), cancelable: true });
            pane.dispatchEvent(event);
            return event.clipboardData.getData('text/plain').split('\n').length;
        });
        check(copied === 10000, `Ctrl+A, Ctrl+C in the Output pane copies ${copied} lines`);
        check(heap.page < 100 && heap.worker < 32, 'the heap grows while printing');
    });

    await test('a program asking for input in a loop is halted from its dialog (Alt+H)', 20, async () => {
        await load(page, linkTo(url, 'main()\r\n{\r\n  int n;\r\n  while (1) {\r\n    n = getnum();\r\n  }\r\n}\r\n'));
        await page.click('#run');
        await page.waitForSelector('#ask[open]', { timeout: 5000 });
        await page.type('#ask-answer', '3');
        await page.keyboard.press('Enter');
        await page.waitForSelector('#ask[open]', { timeout: 5000 });
        await page.keyboard.down('Alt');
        await page.keyboard.press('KeyH');
        await page.keyboard.up('Alt');
        await runEnded(page, 2000);
        const after = await page.evaluate(() => ({
            open: document.querySelector('#ask').open, report: document.querySelector('#report').textContent,
        }));
        check(!after.open && after.report.includes('user terminated program'), JSON.stringify(after));
    });

    await test('typed text survives a reload; a link over it asks which to keep', 30, async () => {
        await load(page, url);
        await page.click('.cm-content');
        await page.keyboard.down('Control');
        await page.keyboard.press('End');
        await page.keyboard.up('Control');
        await page.keyboard.type('\n// never run');
        await new Promise((r) => setTimeout(r, 400));
        await page.reload();
        await page.waitForFunction(() => window.korvane?.readyMs != null, { timeout: 15000 });
        const restored = await page.$eval('.cm-content', (e) => e.innerText);
        check(restored.includes('// never run'), `after the reload: ${restored.slice(-60)}`);
        await load(page, linkTo(url, 'main() { clear(3); }'), false);
        await page.waitForSelector('#keep[open]', { timeout: 5000 });
        await page.click('#keep button[value="mine"]');
        await page.waitForFunction(() => window.korvane?.readyMs != null, { timeout: 15000 });
        const kept = await page.$eval('.cm-content', (e) => e.innerText);
        check(kept.includes('// never run') && !kept.includes('clear(3)'), `kept: ${kept.slice(-60)}`);
    });

    await test("the page's colours follow the shared cases; a long palette loads; help and find open from the keyboard", 20, async () => {
        const lines = readFileSync(join(root, 'tests', 'support', 'highlight_cases.txt'), 'latin1')
            .split('\n').filter((l) => l && !l.startsWith('#'));
        const code = { null: '0', comment: '1', keyword: '2', builtin: '3', number: '4', string: '5', character: '6' };
        for (let i = 0; i + 1 < lines.length; i += 2) {
            const text = lines[i].replace(/~/g, '\n');
            const styles = await page.evaluate((t) => window.korvane.styleOf(t), text);
            const expected = [...lines[i + 1]].filter((_, at) => text[at] !== '\n').join('');
            const got = styles.map((st) => code[st]).join('');
            check(got === expected, `${JSON.stringify(lines[i])}: ${got} instead of ${expected}`);
        }
        // A palette file longer than 1024 bytes is read as the desktop reads it: its first 1024 bytes.
        const long = join(scratch, 'long.pal');
        writeFileSync(long, Buffer.concat([Buffer.alloc(1024, 7), Buffer.alloc(10, 1)]));
        const [chooser] = await Promise.all([page.waitForFileChooser({ timeout: 5000 }), page.click('#palette')]);
        await chooser.accept([long]);
        await page.waitForFunction(() => window.korvane.paletteEntry(5).join() === '7,7,7', { timeout: 5000 });
        const said = await page.$eval('#report', (e) => e.textContent);
        check(said === '', `a long palette file: "${said}"`);
        await page.keyboard.press('F1');
        await page.waitForFunction(() => document.querySelector('#help-dialog').open &&
                                   document.querySelector('#help-text').textContent.includes('textstyle'),
                                   { timeout: 5000 });
        // The page's help, without the window's parts of the shared text.
        const helpText = await page.$eval('#help-text', (e) => e.textContent);
        const wrong = ['Ctrl+R', 'xxx.cg', 'magnifier', 'The View menu', 'The Debug menu', '@window', '@page', '@all']
            .filter((w) => helpText.includes(w));
        check(wrong.length === 0 && helpText.includes('press Escape, then Tab'), `the page's help says ${wrong}`);
        await page.keyboard.press('Escape');
        // About names Korvane's licence and each bundled package's.
        await page.click('#about');
        await page.waitForFunction(() => document.querySelector('#help-dialog').open &&
                                   ['GPL-3.0-or-later', 'DejaVu', 'stb_truetype', '@codemirror/view']
                                       .every((w) => document.querySelector('#help-text').textContent.includes(w)),
                                   { timeout: 5000 });
        await page.keyboard.press('Escape');
        await page.click('.cm-content');
        await page.keyboard.down('Control');
        await page.keyboard.press('KeyH');
        await page.keyboard.up('Control');
        await page.waitForSelector('.cm-search input[name=replace]', { timeout: 2000 });
    });

    // A plain-http page has no service worker, so nothing to be offline with.
    if (!plain) await test('after one visit the page and its examples work offline', 40, async () => {
        await load(page, url);
        await page.evaluate(async () => {
            const registration = await navigator.serviceWorker.ready;
            return !!registration.active;
        });
        await new Promise((resolve) => {
            server.close(resolve);
            server.closeAllConnections();
        });
        await load(page, url);
        const example = await page.evaluate(async () => (await (await fetch('examples/animation.cg')).text()).length);
        const r = await korvaneRun(page, 'main() { print(6 * 7); }', {});
        check(example > 0 && r.output === '42 \n', `offline: example ${example} bytes, output ${JSON.stringify(r.output)}`);
    });
} finally {
    rmSync(scratch, { recursive: true, force: true });
}
}

// A host that sends no isolation headers but is secure (127.0.0.1): the
// service worker adds them from the second visit on; a hard reload passes
// the service worker by, and the page must still work.
async function hardReloads() {
    const opened = await openPage({ isolation: false });
    const { page, url } = opened;
    try {
        await test('without isolation headers a hard reload leaves a working page, in either mode', 60, async () => {
            const said = [];
            const cdp = await page.createCDPSession();
            for (const reload of ['first', 'reload', 'hard', 'reload']) {
                if (reload === 'first') await load(page, url);
                else await cdp.send('Page.reload', { ignoreCache: reload === 'hard' });
                if (reload === 'first') await page.evaluate(() => navigator.serviceWorker.ready);
                said.push(await stateMatching(page, /^Ready/));
                const r = await korvaneRun(page, 'main() { print(getnum() * 2); }', { input: '21\n' });
                check(r.output === '42 \n', `after the ${reload} load: ${JSON.stringify(r.output)}`);
            }
            const expected = ['messages (no cross-origin isolation)', 'shared memory', 'messages (no cross-origin isolation)',
                              'shared memory'].map((m) => `Ready (${m})`);
            check(JSON.stringify(said) === JSON.stringify(expected), `the status lines: ${JSON.stringify(said)}`);
        });
    } finally {
        await opened.close();
    }
}

const hosts = (process.env.KORVANE_PAGE_HOSTS ?? 'isolated,plain').split(',');
for (const host of hosts) {
    const plain = host === 'plain';
    console.log(plain ? '# the page on http://school.lan, without isolation headers' : '# the page with isolation headers');
    const opened = await openPage(plain ? { isolation: false, name: 'school.lan' } : {});
    try {
        await suite(opened, plain);
    } finally {
        await opened.close();
    }
}
await hardReloads();
// The plain closing line that test harnesses read.
console.log(`browser: ${passed} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
