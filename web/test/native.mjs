// SPDX-License-Identifier: GPL-3.0-or-later
// The same programs through the native runner, for comparison.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pngIndices } from './png_indices.mjs';
import { runner } from '../tools/page_driver.mjs';

// {status, output, message, pixels, textPixels} as korvane-run gives them;
// textPixels: how many pixels of the final canvas text drew.
export function nativeRun(file, { input = '', seed, maxSteps } = {}) {
    const dir = mkdtempSync(join(tmpdir(), 'korvane-native-'));
    try {
        const png = join(dir, 'out.png');
        const provenance = join(dir, 'origins.txt');
        const answers = join(dir, 'input.txt');
        writeFileSync(answers, input, 'utf8');
        // The page's report is the message alone, as --no-hints gives it.
        const args = [file, '--no-hints', '--png', png, '--input', answers, '--provenance', provenance];
        if (seed !== undefined) args.push('--seed', String(seed));
        if (maxSteps) args.push('--max-steps', String(maxSteps));
        const r = spawnSync(runner, args, { encoding: 'utf8', timeout: 20000 });
        const origins = existsSync(provenance) ? readFileSync(provenance, 'latin1') : '';
        return {
            status: r.status, output: r.stdout, message: r.stderr,
            pixels: existsSync(png) ? pngIndices(readFileSync(png)).indices : null,
            textPixels: (origins.match(/ textout$/gm) ?? []).length,
        };
    } finally {
        rmSync(dir, { recursive: true, force: true });
    }
}

// The canvas after drawing call k, as --at-call draws it, the writes of
// pixel (x, y), one "call line builtin colour" each, as --history lists
// them, and what it said on standard error.
export function nativeTimeline(file, k, x, y) {
    const dir = mkdtempSync(join(tmpdir(), 'korvane-native-'));
    try {
        const png = join(dir, 'out.png');
        const r = spawnSync(runner, [file, '--at-call', String(k), '--png', png, '--history', `${x},${y}`],
                            { encoding: 'latin1', timeout: 20000 });
        return {
            pixels: pngIndices(readFileSync(png)).indices,
            writes: r.stdout.split('\n').filter((line) => /^\d+ -?\d+ \w+ \d+$/.test(line)),
            message: r.stderr,
        };
    } finally {
        rmSync(dir, { recursive: true, force: true });
    }
}
