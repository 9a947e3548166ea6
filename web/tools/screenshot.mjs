// SPDX-License-Identifier: GPL-3.0-or-later
// Takes docs/web.png: the page in headless chromium after running an
// example, with the inspector showing the pixel under the mouse.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { openPage, load, root, linkTo, runEnded } from './page_driver.mjs';

const example = readFileSync(join(root, 'examples', process.argv[2] ?? 'floodfill.cg'), 'latin1');
const { page, url, close } = await openPage();
try {
    await page.setViewport({ width: 1600, height: 1000 });
    await load(page, linkTo(url, example));
    await page.click('#run');
    await runEnded(page, 30000);
    const box = await page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return [r.x, r.y, r.width]; });
    await page.mouse.move(box[0] + box[2] * 0.5, box[1] + box[2] * 0.5);
    await page.waitForFunction(() => document.querySelector('#inspector').textContent.includes('\n'), { timeout: 5000 });
    await page.screenshot({ path: join(root, 'docs', 'web.png') });
} finally {
    await close();
}
