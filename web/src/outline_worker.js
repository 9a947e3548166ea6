// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's reader: its own instance of the core, which never runs a
// program, only reads one (its outline) and hands over the built-in table.
// Apart from the run's worker, a run never waits for it nor it for a run.
import * as P from './protocol.js';

importScripts('korvane-core.js');

// The host functions are called by runs only, and this instance runs none.
const started = createKorvane({}).then((core) => {
    postMessage({ type: P.BUILTINS, table: coreJson(core, core._korvane_builtin_table()) });
    return core;
});

// The JSON text at pointer; read after the call that gave it, which may
// have grown the memory and so replaced HEAPU8.
function coreJson(core, pointer) { return JSON.parse(P.coreText(core.HEAPU8, pointer)); }

function outline(core, source) {
    const bytes = P.toUtf8(source);
    const text = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, text);
    try {
        return coreJson(core, core._korvane_outline(text, bytes.length));
    } finally {
        core._free(text);
    }
}

// A program file's bytes as text, or a text as a file's bytes, by the
// rule the window and the runner follow.
function convert(core, { type, data }) {
    const input = type === P.PROGRAM_TEXT ? data : P.toUtf8(data);
    const at = core._malloc(input.length + 1);
    core.HEAPU8.set(input, at);
    try {
        const out = type === P.PROGRAM_TEXT ? core._korvane_program_text(at, input.length)
                                            : core._korvane_program_bytes(at, input.length);
        const bytes = core.HEAPU8.slice(out, out + core._korvane_converted_length());
        return type === P.PROGRAM_TEXT ? P.fromUtf8(bytes) : bytes;
    } finally {
        core._free(at);
    }
}

onmessage = async ({ data }) => {
    const core = await started;
    if (data.type === P.OUTLINE)
        postMessage({ type: P.OUTLINED, id: data.id, outline: outline(core, data.source) });
    else
        postMessage({ type: P.CONVERTED, id: data.id, data: convert(core, data) });
};
