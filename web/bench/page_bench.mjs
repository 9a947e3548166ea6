// SPDX-License-Identifier: GPL-3.0-or-later
// The page against the native runner, same machine, same run: each program
// of bench/programs through window.korvane.run and through korvane-run
// (median wall time of 7, start-up included for the runner, the worker
// round trip for the page), and through the page served without the
// isolation headers at a plain-http name (no shared memory: runs in
// slices); a fresh page's first run; the page's ready time
// from the local server;
// the time to paint a full-canvas show; the timeline's seek over a run of
// ten million drawing calls, after the run and at a pause. Prints a
// Markdown section.
import { spawnSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { performance } from 'node:perf_hooks';
import { openPage, load, root, runner, linkTo, runEnded, toggleLine } from '../tools/page_driver.mjs';

const ROUNDS = 7;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (v) => (v >= 100 ? v.toFixed(0) : v.toFixed(1));

// The page's timeline after a run of `calls` point calls made with the Run
// button (or, paused, at a breakpoint after them): the run's time, and the
// wall time from a slider move to its canvas on the screen, for moves to the
// call before every keyframe of a sample (where a seek replays the most:
// points keep one every 16,384 calls).
async function timelineSeeks(page, url, calls, paused = false) {
    await load(page, linkTo(url, `main() { int i; for (i = 0; i < ${calls}; i++) { setcolor(i); ` +
                                 'point(i % 400, (i / 400) % 400); }\n  print(i); }'));
    if (paused) await toggleLine(page, 1);
    const started = performance.now();
    await page.click('#run');
    if (paused) {
        await page.waitForFunction(() => document.querySelector('#state').textContent.startsWith('Paused'),
                                   { timeout: 600000 });
    } else {
        await runEnded(page, 600000);
    }
    const run = performance.now() - started;
    const seeks = await page.evaluate(async (n) => {
        const slider = document.querySelector('#timeline-slider');
        const times = [];
        for (let j = 1; j <= 40; j++) {
            const k = Math.floor(j * n / 40 / 16384) * 16384 - 1;
            const moved = performance.now();
            slider.value = String(k);
            slider.dispatchEvent(new Event('input'));
            while (window.korvane.timelineCall() !== k) await new Promise((r) => setTimeout(r, 0));
            times.push(performance.now() - moved);
        }
        return times;
    }, calls);
    if (paused) await page.click('#halt');
    return { run, seeks };
}

// The wall time of one korvane.run of source, in the page.
function pageRun(page, source) {
    return page.evaluate(async (text) => {
        const started = performance.now();
        await window.korvane.run(text);
        return performance.now() - started;
    }, source);
}

const { page, url, close } = await openPage();
const plain = await openPage({ isolation: false, name: 'school.lan' });
const rows = [];
try {
    await load(plain.page, plain.url);
    const ready = [];
    for (let i = 0; i < ROUNDS; i++) {
        await load(page, url);
        ready.push(await page.evaluate(() => window.korvane.readyMs));
    }
    const dir = join(root, 'bench', 'programs');
    for (const name of readdirSync(dir).filter((n) => n.endsWith('.cg')).sort()) {
        const file = join(dir, name);
        const source = readFileSync(file, 'latin1');
        const native = [];
        const web = [];
        const sliced = [];
        for (let i = 0; i < ROUNDS; i++) {
            const started = performance.now();
            spawnSync(runner, [file], { stdio: 'ignore' });
            native.push(performance.now() - started);
            web.push(await pageRun(page, source));
            sliced.push(await pageRun(plain.page, source));
        }
        rows.push([name.replace(/\.cg$/, ''), median(native), median(web), median(sliced)]);
    }
    // The first run in a freshly loaded page, a second after it is ready (as
    // a user's first click would come), against the median of the runs above.
    const first = [];
    const mandelbrot = readFileSync(join(dir, 'mandelbrot.cg'), 'latin1');
    for (let i = 0; i < 3; i++) {
        await load(page, url);
        await new Promise((resolve) => setTimeout(resolve, 1000));
        first.push(await pageRun(page, mandelbrot));
    }
    // Full-canvas frames, each a different colour, shown by the Run button.
    await load(page, linkTo(url, 'main() { int i; for (i = 0; i < 600; i++) { clear(i); show(); sleep(5); } }'));
    await page.click('#run');
    await runEnded(page, 60000);
    const paints = await page.evaluate(() => performance.getEntriesByName('paint').map((e) => e.duration));
    const timeline = await timelineSeeks(page, url, 10000000);
    const pause = await timelineSeeks(page, url, 10000000, true);
    console.log('## In the browser\n');
    const { loadavg } = await import('node:os');
    console.log('Measured with `scripts/web bench`: headless chromium ' +
                (await page.browser().version()).replace('HeadlessChrome/', '') + ' on the page served locally, ' +
                'and build/cli/korvane-run, on the same machine in the same run (load average ' +
                loadavg().map((v) => v.toFixed(2)).join(' ') + ' at the end). Median wall time of ' + ROUNDS +
                ' runs: the runner\'s includes its process start-up, the page\'s the round trip to its worker ' +
                'and a fresh canvas. The ratio is the page\'s time divided by the runner\'s. "Sliced" is the ' +
                'page served without the isolation headers at a plain-http name: no shared memory, so the ' +
                'run gives the worker back every 20 ms.\n');
    console.log('| program | korvane-run (ms) | korvane.run (ms) | page/native | sliced (ms) | sliced/page |');
    console.log('| --- | ---: | ---: | ---: | ---: | ---: |');
    for (const [name, n, w, s] of rows)
        console.log(`| ${name} | ${ms(n)} | ${ms(w)} | ${(w / n).toFixed(2)}× | ${ms(s)} | ${(s / w).toFixed(2)}× |`);
    const later = rows.find(([name]) => name === 'mandelbrot')[2];
    console.log(`\nThe first run of mandelbrot in a freshly loaded page, a second after it is ready, takes ` +
                `${ms(median(first))} ms (median of ${first.length} loads), against ${ms(later)} ms for the runs above.`);
    console.log(`\nPage ready (editor and canvas usable) after ${ms(median(ready))} ms from the start of ` +
                `loading (median of ${ROUNDS} loads). A full-canvas show is painted in ${median(paints).toFixed(2)} ms ` +
                `(median of ${paints.length} frames; slowest ${Math.max(...paints).toFixed(2)} ms).`);
    console.log(`\nA run of ten million point calls with the Run button (timeline and inspector on) takes ` +
                `${(timeline.run / 1000).toFixed(1)} s; moving the timeline's slider to the call before a ` +
                `keyframe shows that canvas in ${ms(median(timeline.seeks))} ms (median of ` +
                `${timeline.seeks.length} moves; slowest ${ms(Math.max(...timeline.seeks))} ms). Paused at a ` +
                `breakpoint after the same calls, where the seeks reach the run through shared memory: ` +
                `${ms(median(pause.seeks))} ms (median; slowest ${ms(Math.max(...pause.seeks))} ms).`);
} finally {
    await close();
    await plain.close();
}
