// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise's checker: an instance of the core of its own, which reads
// an exercise folder from its address and runs the checks as korvane-run
// --check does. A check cannot be interrupted, so the page stops one by
// ending this worker (exercise_client.js).
import * as P from './protocol.js';
import { readIndexedPng } from './exercise_png.js';

importScripts('korvane-core.js');

const started = createKorvane({});

// Copies bytes (or a string, as UTF-8 with a terminating zero) into the
// core's memory; the caller frees it.
function copyIn(core, data) {
    const bytes = typeof data === 'string' ? P.toUtf8(data + '\0') : data;
    const at = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, at);
    return { at, length: typeof data === 'string' ? bytes.length - 1 : bytes.length };
}

// The text at pointer, read after the call that gave it: that call may have
// grown the memory and so replaced HEAPU8.
function coreText(core, pointer) { return P.coreText(core.HEAPU8, pointer); }

function withCopies(core, list, use) {
    const copies = list.map((data) => copyIn(core, data));
    try {
        return use(...copies);
    } finally {
        for (const c of copies) core._free(c.at);
    }
}

// Every file name exercise.json gives, for a folder that cannot be listed:
// the texts it holds, and the files read when none is named.
function namedFiles(json) {
    const names = new Set(['input.txt', 'palette.pal']);
    const walk = (v) => {
        if (typeof v === 'string' && /^[^/\\]+\.\w+$/.test(v)) names.add(v);
        else if (v && typeof v === 'object') Object.values(v).forEach(walk);
    };
    try {
        walk(JSON.parse(json));
    } catch {
        // The core says what is wrong with the text.
    }
    return [...names];
}

async function fetchBytes(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`Cannot open file ${url}`);
    return new Uint8Array(await response.arrayBuffer());
}

// {summary, files} or {error}: files are the bytes of every file but the
// pictures, by name.
async function open(core, { url, name, files }) {
    const base = new URL(url.endsWith('/') ? url : url + '/', location.href);
    let json;
    try {
        json = P.fromUtf8(await fetchBytes(new URL('exercise.json', base)));
    } catch (e) {
        return { error: e.message };
    }
    const texts = {};
    const unreadable = {};
    const present = ['exercise.json'];
    for (const file of files ?? namedFiles(json)) {
        if (file === 'exercise.json') continue;
        let bytes;
        try {
            bytes = await fetchBytes(new URL(file, base));
        } catch {
            if (files) unreadable[file] = `Cannot open file ${file}`;
            continue;
        }
        present.push(file);
        if (!file.toLowerCase().endsWith('.png')) {
            texts[file] = bytes;
            if (file === 'palette.pal') withCopies(core, [bytes], (b) => core._korvane_exercise_palette(b.at, b.length));
            else withCopies(core, [file, bytes], (n, b) => core._korvane_exercise_answers(n.at, b.at, b.length));
            continue;
        }
        try {
            const png = await readIndexedPng(file, bytes);
            withCopies(core, [file, png.indices, png.rgb], (n, i, c) =>
                core._korvane_exercise_picture(n.at, png.width, png.height, i.at, c.at, png.rgb.length / 3));
        } catch (e) {
            unreadable[file] = e.message;
        }
    }
    const result = JSON.parse(withCopies(core, [name, P.toUtf8(json), present.join('\n')], (n, j, f) =>
        coreText(core, core._korvane_exercise_open(n.at, j.at, j.length, f.at))));
    // A picture that could not be decoded is missing to the core: say why.
    const missing = /^Cannot open file (.*)$/.exec(result.error ?? '');
    if (missing && unreadable[missing[1]]) result.error = unreadable[missing[1]];
    return result.error ? { error: result.error } : { summary: result, files: texts };
}

function view(core, index, which) {
    const at = core._korvane_exercise_view(index, which);
    const pixels = core.HEAPU8.slice(at, at + P.PIXELS);
    const palette = core._korvane_exercise_view_palette();
    return { pixels, palette: core.HEAPU8.slice(palette, palette + 1024) };
}

function check(core, { id, source, shown }) {
    const text = P.toUtf8(source);
    const forbidden = withCopies(core, [text], (t) => coreText(core, core._korvane_exercise_forbidden(t.at, t.length)));
    if (forbidden) return postMessage({ type: 'checked', id, forbidden });
    for (const index of shown) {
        const result = withCopies(core, [text], (t) =>
            JSON.parse(coreText(core, core._korvane_exercise_check(t.at, t.length, index))));
        const views = result.status === 'differs' ? [0, 1, 2].map((which) => view(core, index, which)) : null;
        postMessage({ type: 'check', id, index, result, views });
    }
    postMessage({ type: 'checked', id });
}

// One request at a time, in order: a check waits for the open before it.
let queue = started;
onmessage = ({ data }) => {
    queue = queue.then(async (core) => {
        if (data.type === 'open') postMessage({ type: 'opened', id: data.id, ...(await open(core, data)) });
        else check(core, data);
        return core;
    });
};
