// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the page in headless Debian chromium, served locally, for the
// tests, the benchmark and the screenshot: the one place that knows the
// share-link format and how to wait for a run's end. Never downloads a browser.
import puppeteer from 'puppeteer-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { deflateRawSync } from 'node:zlib';
import { serve } from './serve.mjs';

export const root = join(import.meta.dirname, '..', '..');
export const dist = join(root, 'build-web', 'dist');
export const runner = join(root, 'build', 'cli', 'korvane-run');

// By default served with the isolation headers at 127.0.0.1; with
// { isolation: false, name: 'school.lan' } as a plain intranet host
// serves it: no headers, a plain-http name that is not localhost.
export async function openPage({ isolation = true, name = null } = {}) {
    const server = await serve(dist, 0, { isolation });
    const url = `http://${name ?? '127.0.0.1'}:${server.address().port}/`;
    const mapped = name ? [`--host-resolver-rules=MAP ${name} 127.0.0.1`] : [];
    const profile = mkdtempSync(join(tmpdir(), 'korvane-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync', ...mapped],
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
    return { browser, page, url, close, server };
}

// Loads url and (unless ready is false) waits until the editor and canvas
// are usable.
export async function load(page, url, ready = true) {
    // A new document each time, even when only the fragment differs.
    await page.goto('about:blank');
    await page.goto(url);
    if (ready) await page.waitForFunction(() => window.korvane?.readyMs != null, { timeout: 15000 });
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

// A link to the page that carries program, as Share link makes it.
export function linkTo(url, program) {
    return `${url}#program=${deflateRawSync(Buffer.from(program, 'latin1')).toString('base64url')}`;
}

// Toggles the breakpoint of line n (as the editor numbers lines) by a click on its number.
export async function toggleLine(page, n) {
    const numbers = await page.$$('.cm-lineNumbers .cm-gutterElement');
    for (const number of numbers) if (await number.evaluate((e, n) => e.textContent === n, String(n))) await number.click();
}

// Waits until the run started with Run has ended.
export async function runEnded(page, timeout = 10000) {
    await page.waitForFunction(() => document.querySelector('#halt').disabled &&
                               document.querySelector('#state').textContent !== 'Running…', { timeout });
}
