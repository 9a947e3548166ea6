// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of the page's timeline at 1366 x 768 in headless chromium: an
// example run (or, with LINE, the run paused at a breakpoint there), a
// pixel's writes listed by a click, and the slider moved to the one chosen
// from the list. Usage: node web/tools/timeline_screenshot.mjs
// [EXAMPLE X Y [OUT.png [LINE]]] (floodfill.cg 100 100 build-web/timeline.png).
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { openPage, load, root, linkTo, runEnded, toggleLine } from './page_driver.mjs';

const [name = 'floodfill.cg', x = 100, y = 100, out = join(root, 'build-web', 'timeline.png'), line] = process.argv.slice(2);
const example = readFileSync(join(root, 'examples', name), 'latin1');
const { page, url, close } = await openPage();
try {
    await page.setViewport({ width: 1366, height: 768 });
    await load(page, linkTo(url, example));
    if (line) {
        await toggleLine(page, line);
        await page.click('#run');
        await page.waitForFunction(() => document.querySelector('#state').textContent.startsWith('Paused'), { timeout: 30000 });
    } else {
        await page.click('#run');
        await runEnded(page, 30000);
    }
    const box = await page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return [r.x, r.y, r.width / 400]; });
    await page.mouse.click(Math.ceil(box[0] + x * box[2]), Math.ceil(box[1] + (399 - y) * box[2]));
    await page.waitForFunction(() => document.querySelector('#pixel-history').options.length > 1, { timeout: 10000 });
    // The middle write, as a user picks it from the list.
    const chosen = await page.$eval('#pixel-history', (list) => list.options[list.options.length >> 1].value);
    await page.select('#pixel-history', chosen);
    await page.waitForFunction((k) => window.korvane.timelineCall() === k, { timeout: 5000 }, Number(chosen));
    await page.screenshot({ path: out });
    console.log(`${out}: ${name}, pixel (${x}, ${y}), call ${chosen}`);
} finally {
    await close();
}
