import { openPage, load, linkTo, runEnded } from './page_driver.mjs';
const program = ['int total;', 'depth(int n) {', '  int k;', '  k = n * 10;', '  if (n > 0)', '    depth(n - 1);',
    '  total = total + k;', '  return k;', '}', 'main() {', '  clear(0);', '  depth(2);', '  setcolor(3);',
    '  point(5, 7);', '  point(5, 7);', '  setcolor(9);', '  point(5, 7);', '  print(total);', '}', ''].join('\r\n');
const { page, url, close } = await openPage();
page.on('console', (m) => console.log('console:', m.text()));
const seen = async () => page.evaluate(() => ({
    state: document.querySelector('#state').textContent,
    statement: [...document.querySelectorAll('.cm-pause-statement')].map((e) => e.textContent).join(''),
    calls: [...document.querySelectorAll('.call-stack tbody tr')].map((r) => r.innerText.replace(/\t/g, '|')),
    vars: [...document.querySelectorAll('.variables tbody tr')].map((r) => r.innerText.replace(/\t/g, '|')),
}));
try {
    await page.setViewport({ width: 1366, height: 768 });
    await load(page, linkTo(url, program));
    const number = async (n) => {
        const handles = await page.$$('.cm-lineNumbers .cm-gutterElement');
        for (const h of handles) if ((await h.evaluate((e) => e.textContent)) === String(n)) return h;
    };
    await (await number(3)).click();
    await page.click('#run');
    const waitState = (t) => page.waitForFunction((t) => document.querySelector('#state').textContent.startsWith(t), { timeout: 5000 }, t);
    await waitState('Paused');
    console.log(await seen());
    await page.keyboard.press('F10');
    await waitState('Paused at line 4');
    console.log(await seen());
    await page.keyboard.press('F10');
    await waitState('Paused at line 5');
    console.log(await seen());
    await page.click('[data-command="1"]');
    await waitState('Paused at line 2');
    console.log(await seen());
    await (await number(3)).click();
    await page.click('[data-command="3"]');
    await waitState('Paused at line 6');
    console.log(await seen());
    await page.click('.call-stack tbody tr:nth-child(2)');
    console.log(await seen());
    const box = await page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return [r.x, r.y, r.width]; });
    const s = box[2] / 400;
    console.log('box', box, await page.evaluate(() => [scrollX, scrollY, innerWidth, document.documentElement.scrollWidth]));
    page.evaluate(() => document.querySelector('#canvas').addEventListener('contextmenu', (e) => console.log('ctx', e.clientX, e.clientY, e.pageX, JSON.stringify(document.querySelector('#canvas').getBoundingClientRect()))));
    await page.mouse.click(box[0] + 5.5 * s, box[1] + (399 - 7 + 0.5) * s, { button: 'right' });
    await page.click('.context-menu button');
    console.log('watches:', await page.$eval('#watches', (e) => e.textContent));
    await page.keyboard.press('F5');
    await waitState('Paused at line 13');
    console.log(await seen());
    await page.screenshot({ path: '/tmp/wd/paused.png' });
    await page.keyboard.press('F5');
    await waitState('Paused at line 16');
    console.log(await seen());
    await page.keyboard.press('F5');
    await runEnded(page);
    console.log(await seen(), await page.evaluate(() => window.korvane.output()));
} catch (e) { console.log('ERR', e.message, await seen()); await page.screenshot({ path: '/tmp/wd/err.png' }); }
finally { await close(); }
