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
    const bytes = P.toLatin1(source);
    const text = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, text);
    try {
        return coreJson(core, core._korvane_outline(text, bytes.length));
    } finally {
        core._free(text);
    }
}

onmessage = async ({ data }) => {
    const core = await started;
    postMessage({ type: P.OUTLINED, id: data.id, outline: outline(core, data.source) });
};
