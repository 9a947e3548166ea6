// SPDX-License-Identifier: GPL-3.0-or-later
// Takes docs/web-hints.png: the page at 1366 x 768 after a run that stopped
// at an unknown name, its hint under the message and its token underlined,
// with the mouse on a call that gives too few values (the warning's tooltip).
import { join } from 'node:path';
import { openPage, load, root, linkTo, runEnded } from './page_driver.mjs';

const program = 'main()\r\n{\r\n  int r;\r\n  clear(0);\r\n  for (r = 20; r < 180; r += 20)\r\n' +
    '    circle(200, 200, r, 14);\r\n  line(0, 0, 399);\r\n  pont(200, 200);\r\n  show();\r\n}\r\n';
const { page, url, close } = await openPage();
try {
    await page.setViewport({ width: 1366, height: 768 });
    await load(page, linkTo(url, program));
    await page.click('#run');
    await runEnded(page, 30000);
    await page.waitForSelector('.cm-warning', { timeout: 5000 });
    const at = await page.$eval('.cm-warning', (e) => { const r = e.getBoundingClientRect(); return [r.x + 4, r.y + r.height / 2]; });
    await page.mouse.move(at[0], at[1]);
    await page.waitForSelector('.cm-tooltip-hover', { timeout: 5000 });
    await page.screenshot({ path: join(root, 'docs', 'web-hints.png') });
} finally {
    await close();
}
