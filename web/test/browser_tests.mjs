// The browser tests: the page in headless chromium gives what korvane-run
// gives, and a user can halt, read an error, answer getnum and save.
// Each test is bounded in time; the process exits nonzero on any failure.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, existsSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { deflateRawSync } from 'node:zlib';
import { openPage, load, korvaneRun, root } from './browser.mjs';
import { nativeRun } from './native.mjs';
import { pngIndices } from './png_indices.mjs';

const RANDOM_PROGRAMS = Number(process.env.KORVANE_RANDOM_PROGRAMS ?? 300);
const MAX_STEPS = 20000;
let failures = 0;

async function test(name, seconds, body) {
    const started = Date.now();
    let timer;
    try {
        await Promise.race([body(), new Promise((_, reject) => {
            timer = setTimeout(() => reject(new Error(`took longer than ${seconds} s`)), seconds * 1000);
        })]);
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

// Runs one program both ways; returns the text pixels that differ, throws
// on any other difference.
async function compare(page, file, options) {
    const source = readFileSync(file, 'latin1');
    const native = nativeRun(file, options);
    const web = await korvaneRun(page, source, options);
    // The browser's stack holds fewer nested calls than the runner's: a
    // program that nests deeper than it allows must end with that report.
    const tooDeep = (r) => /too deep/.test(r.message);
    if (web.status === 2 && tooDeep(web) && !tooDeep(native)) return { diff: 0, text: 0, deep: web.message.trim() };
    for (const key of ['status', 'output', 'message'])
        check(web[key] === native[key], `${file}: ${key} ${JSON.stringify(web[key]).slice(0, 200)} instead of ` +
              JSON.stringify(native[key]).slice(0, 200));
    const diff = differing(web.pixels, native.pixels);
    // Text goes through the browser's font engine, not the desktop's.
    check(diff === 0 || native.textPixels > 0, `${file}: ${diff} pixels differ`);
    return { diff, text: native.textPixels };
}

function linkTo(url, program) {
    return `${url}#program=${deflateRawSync(Buffer.from(program, 'latin1')).toString('base64url')}`;
}

async function runButton(page) {
    await page.click('#run');
    await page.waitForFunction(() => !document.querySelector('#halt').disabled, { timeout: 5000 });
}

async function finished(page, timeout = 10000) {
    await page.waitForFunction(() => document.querySelector('#halt').disabled &&
                               document.querySelector('#state').textContent !== 'Running…', { timeout });
}

async function dismissNotice(page) {
    await page.evaluate(() => document.querySelector('#notice').close());
}

const { page, url, close } = await openPage();
const scratch = mkdtempSync(join(tmpdir(), 'korvane-web-test-'));
try {
    await load(page, url);

    await test('every example gives what korvane-run gives', 120, async () => {
        const dir = join(root, 'examples');
        const options = { input: '12\nx\n' };
        const notes = [];
        for (const name of readdirSync(dir).filter((n) => n.endsWith('.cg')).sort()) {
            const { diff, text, deep } = await compare(page, join(dir, name), options);
            if (text) notes.push(`${name}: ${diff} of ${text} text pixels differ`);
            if (deep) notes.push(`${name}: deeper than the browser's stack allows: ${deep}`);
        }
        for (const n of notes) console.log(`     ${n}`);
    });

    await test(`${RANDOM_PROGRAMS} random programs give what korvane-run gives`, 240, async () => {
        const made = spawnSync(join(root, 'build', 'tests', 'interp', 'write_random_programs'),
                               [String(RANDOM_PROGRAMS), scratch]);
        check(made.status === 0, 'cannot write the random programs: ' + made.stderr);
        let drew = 0, differ = 0, deeper = 0;
        for (const name of readdirSync(scratch).sort()) {
            const { diff, text, deep } = await compare(page, join(scratch, name), { seed: 7, maxSteps: MAX_STEPS });
            if (text) drew++;
            if (diff) differ++;
            if (deep) deeper++;
        }
        console.log(`     ${drew} drew text; ${differ} of them differ, in text pixels`);
        console.log(`     ${deeper} nest deeper than the browser's stack allows`);
    });

    await test('a program nested too deeply ends with a report, and the next one runs', 30, async () => {
        const deep = 60000;
        const nested = `main()\r\n{\r\n  print(${'('.repeat(deep)}1${')'.repeat(deep)});\r\n}\r\n`;
        const r = await korvaneRun(page, nested, {});
        check(r.status === 2 && /deep/.test(r.message), `status ${r.status}, message "${r.message}"`);
        const next = await korvaneRun(page, 'main() { print(6 * 7); }', {});
        check(next.status === 0 && next.output === '42 \n', `then ${JSON.stringify(next.output)}`);
    });

    await test('Halt ends an endless loop without show within half a second', 20, async () => {
        await load(page, linkTo(url, 'main()\r\n{\r\n  int i;\r\n  while (1) i++;\r\n}\r\n'));
        await runButton(page);
        await new Promise((r) => setTimeout(r, 300));
        await page.click('#halt');
        await finished(page, 5000);
        const took = await page.evaluate(() => window.korvane.haltMs);
        const report = await page.$eval('#report', (e) => e.textContent);
        check(report.includes('user terminated program'), `report "${report}"`);
        check(took !== null && took < 500, `the run ended ${took} ms after Halt`);
        console.log(`     halted after ${took.toFixed(1)} ms`);
        await dismissNotice(page);
    });

    await test('an error marks its line', 20, async () => {
        await load(page, linkTo(url, 'main()\r\n{\r\n  int x;\r\n  x = 1 +* 2;\r\n}\r\n'));
        await page.click('#run');
        await finished(page);
        const marked = await page.evaluate(() => ({
            line: window.korvane.errorLine(),
            shown: document.querySelectorAll('.cm-error-line').length,
            report: document.querySelector('#report').textContent,
        }));
        check(marked.line === 3 && marked.shown === 1, `marked ${JSON.stringify(marked)}`);
        check(marked.report.includes('in line 3'), `report "${marked.report}"`);
        await dismissNotice(page);
    });

    await test("a getnum answer typed into the page's dialog reaches the program", 20, async () => {
        await load(page, linkTo(url, 'main()\r\n{\r\n  int n;\r\n  n = getnum();\r\n  print(n * 2);\r\n}'));
        await page.click('#run');
        await page.waitForSelector('#ask[open]', { timeout: 5000 });
        await page.type('#ask-answer', '21');
        await page.keyboard.press('Enter');
        await finished(page);
        const text = await page.evaluate(() => document.querySelector('.cm-content').innerText);
        check(text.trimEnd().endsWith('42 '.trimEnd()) && text.includes('\n42'), `editor ends "${text.slice(-20)}"`);
    });

    await test("Save Image downloads a PNG whose indices equal the runner's", 30, async () => {
        const file = join(root, 'examples', 'circles.cg');
        await load(page, linkTo(url, readFileSync(file, 'latin1')));
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: scratch });
        await page.click('#run');
        await finished(page);
        await page.click('#save-png');
        const saved = join(scratch, 'korvane.png');
        for (let i = 0; i < 100 && !existsSync(saved); i++) await new Promise((r) => setTimeout(r, 50));
        const picture = pngIndices(readFileSync(saved));
        check(picture.width === 400 && picture.height === 400, `size ${picture.width} x ${picture.height}`);
        const diff = differing(picture.indices, nativeRun(file).pixels);
        check(diff === 0, `${diff} pixels differ`);
    });
    await test('Record GIF writes the shown frames, the last equal to the final canvas', 40, async () => {
        // Noise makes the coder's table fill up and start again many times.
        const program = 'main()\r\n{\r\n  int i, f;\r\n  for (f = 0; f < 3; f++) {\r\n' +
            '    for (i = 0; i < 40000; i++) { setcolor(rand(256)); point(rand(400), rand(400)); }\r\n' +
            '    show();\r\n    sleep(100);\r\n  }\r\n}\r\n';
        const file = join(scratch, 'noise.cg');
        writeFileSync(file, program, 'latin1');
        await load(page, linkTo(url, program));
        const cdp = await page.createCDPSession();
        await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: scratch });
        await page.click('#record');
        await page.click('#run');
        await finished(page);
        await page.click('#record');
        const saved = join(scratch, 'korvane.gif');
        for (let i = 0; i < 100 && !existsSync(saved); i++) await new Promise((r) => setTimeout(r, 50));
        // The browser's own decoder reads the file back.
        const last = await page.evaluate(async (bytes) => {
            const data = Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0));
            const decoder = new ImageDecoder({ data, type: 'image/gif' });
            await decoder.tracks.ready;
            const count = decoder.tracks.selectedTrack.frameCount;
            const { image } = await decoder.decode({ frameIndex: count - 1 });
            const canvas = new OffscreenCanvas(400, 400);
            canvas.getContext('2d').drawImage(image, 0, 0);
            const rgba = canvas.getContext('2d').getImageData(0, 0, 400, 400).data;
            let text = '';
            for (let i = 0; i < rgba.length; i += 8192) text += String.fromCharCode(...rgba.subarray(i, i + 8192));
            return { count, rgba: btoa(text) };
        }, readFileSync(saved).toString('base64'));
        last.rgba = Buffer.from(last.rgba, 'base64');
        const palette = readFileSync(join(root, 'examples', 'allcolr.pal'));
        const native = nativeRun(file).pixels;
        let wrong = 0;
        for (let y = 0; y < 400; y++) {
            for (let x = 0; x < 400; x++) {
                const index = native[(399 - y) * 400 + x];
                const at = (y * 400 + x) * 4;
                for (let c = 0; c < 3; c++) if (last.rgba[at + c] !== palette[index * 4 + c]) wrong++;
            }
        }
        check(last.count >= 3, `${last.count} frames`);
        check(wrong === 0, `${wrong} colour values of the last frame differ`);
    });
} finally {
    await close();
    rmSync(scratch, { recursive: true, force: true });
}
console.log(failures ? `${failures} browser test(s) failed` : 'all browser tests passed');
process.exit(failures ? 1 : 0);
