// SPDX-License-Identifier: GPL-3.0-or-later
// Takes docs/web-exercise.png: the page at 1366 x 768 with "Midpoint
// circle" open, a slipped program checked, and the differences of the
// check that failed on the canvas.
import { readFileSync, writeFileSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { openPage, load, root } from './page_driver.mjs';

const out = process.argv[2] ?? join(root, 'docs', 'web-exercise.png');
const model = readFileSync(join(root, 'course', '04-midpoint-circle', 'model.cg'), 'latin1');
const scratch = mkdtempSync(join(tmpdir(), 'korvane-shot-'));
const slip = join(scratch, 'circle.cg');
writeFileSync(slip, model.replace('d += 2 * (x - y) + 5;', 'd += 2 * (x - y) + 3;'), 'latin1');
const { page, url, close } = await openPage();
try {
    await page.setViewport({ width: 1366, height: 768 });
    await load(page, url);
    await page.waitForFunction(() => document.querySelector('#exercises').options.length > 1, { timeout: 5000 });
    await page.select('#exercises', '04-midpoint-circle');
    await page.waitForFunction(() => /^Opened/.test(document.querySelector('#state').textContent), { timeout: 10000 });
    await (await page.$('#open-file')).uploadFile(slip);
    await page.waitForFunction(() => document.querySelector('.cm-content').innerText.includes('(x - y) + 3'), { timeout: 5000 });
    await page.click('#check');
    await page.waitForFunction(() => document.querySelector('#state').textContent === 'Checked', { timeout: 20000 });
    const radios = await page.$$('#check-results .check-result:nth-child(2) input[type=radio]');
    await radios[2].click();
    await page.screenshot({ path: out });
} finally {
    await close();
    rmSync(scratch, { recursive: true, force: true });
}
