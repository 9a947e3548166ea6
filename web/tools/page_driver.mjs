// Headless Debian chromium on the page served locally, for the tests and
// the benchmark. Never downloads a browser.
import puppeteer from 'puppeteer-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../tools/serve.mjs';

export const root = join(import.meta.dirname, '..', '..');
export const dist = join(root, 'build-web', 'dist');

export async function openPage() {
    const server = await serve(dist, 0);
    const url = `http://127.0.0.1:${server.address().port}/`;
    const profile = mkdtempSync(join(tmpdir(), 'korvane-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync'],
        protocolTimeout: 120000,
    });
    const page = await browser.newPage();
    page.on('pageerror', (e) => console.error('page error:', e.message));
    await page.setViewport({ width: 1280, height: 900 });
    const close = async () => {
        await browser.close();
        server.close();
        rmSync(profile, { recursive: true, force: true });
    };
    return { browser, page, url, close };
}

// Loads url and waits until the editor and canvas are usable.
export async function load(page, url) {
    // A new document each time, even when only the fragment differs.
    await page.goto('about:blank');
    await page.goto(url);
    await page.waitForFunction(() => window.korvane?.readyMs != null, { timeout: 15000 });
}

// Runs a program through window.korvane.run; pixels come back as bytes.
export async function korvaneRun(page, source, options) {
    const r = await page.evaluate(async (text, opts) => {
        const result = await window.korvane.run(text, opts);
        let bytes = '';
        for (let i = 0; i < result.pixels.length; i += 8192)
            bytes += String.fromCharCode.apply(null, result.pixels.subarray(i, i + 8192));
        return { ...result, pixels: btoa(bytes) };
    }, source, options);
    return { ...r, pixels: new Uint8Array(Buffer.from(r.pixels, 'base64')) };
}
