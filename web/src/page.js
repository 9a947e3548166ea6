// The page owns the screen: editor, canvas, buttons and dialogs. Programs
// run in the worker; window.korvane.run is the interface for tests and tools.
import * as P from './protocol.js';
import { WorkerClient } from './worker_client.js';
import { Editor } from './editor.js';
import { CanvasView } from './canvas_view.js';
import { indexedPng } from './png.js';
import { GifRecording } from './gif.js';
import { programFromLink, linkFor } from './share.js';

const $ = (id) => document.getElementById(id);
const view = new CanvasView($('canvas'));
let editor = null;
let running = false;
let recording = null;
let shownFrame = 0;
let fileName = 'program.cg';   // what Save offers: the name last opened
let haltPressed = null;        // when Halt was pressed during this run

function download(blob, name) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = name;
    a.click();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
}

function setState(text) { $('state').textContent = text; }

function notice(text) {
    $('notice-text').textContent = text;
    if (!$('notice').open) $('notice').showModal();
}

let client = null;
const streamed = {
    failed: (why) => setState(`The interpreter could not start: ${why}`),
    [P.OUTPUT]: (m) => editor.appendLines(m.lines),
    [P.INPUT]: (m) => ask(m.kind),
    [P.TRACE]: (m) => {
        editor.markTrace(m.line);
        setState(`Line ${m.line}: ${m.builtin}`);
    },
    [P.PALETTE_SET]: (m) => {
        if (!m.ok) notice('A palette file must hold exactly 1024 bytes.');
        view.setPalette(m.palette);
    },
};

// Paints the newest frame, at most once per display refresh.
function paintLoop() {
    const frame = client.frameCount();
    if (frame !== shownFrame) {
        shownFrame = frame;
        const started = performance.now();
        view.paint(client.shared.frame);
        korvane.paintMs.push(performance.now() - started);
        if (korvane.paintMs.length > 1000) korvane.paintMs.shift();
        if (recording) recording.add(view.indices, performance.now());
    }
    requestAnimationFrame(paintLoop);
}

function ask(kind) {
    $('ask-caption').textContent = kind === P.GETNUM ? 'Input a number:' : 'Input a character:';
    $('ask-answer').value = '';
    $('ask').returnValue = '';
    $('ask').showModal();
}

$('ask').addEventListener('close', () => {
    // Cancel gives the empty answer, as the desktop's input box does.
    client.answer($('ask').returnValue === 'ok' ? $('ask-answer').value : '');
});

function traceMode() {
    if ($('stepping').checked) return P.TRACE_STEP;
    return $('slow').checked ? P.TRACE_SLOW : P.TRACE_OFF;
}

function updateTrace() {
    client.setTrace(traceMode(), Number($('delay').value));
    $('step').disabled = !running || !$('stepping').checked;
}

function setRunning(on) {
    running = on;
    $('run').disabled = on;
    $('halt').disabled = !on;
    $('open').disabled = on;
    $('examples').disabled = on;
    $('palette').disabled = on;
    updateTrace();
}

async function runEditor() {
    if (running) return;
    const source = editor.text();
    localStorage.setItem('korvane.program', source);
    editor.markError(-1);
    $('report').textContent = '';
    setRunning(true);
    setState('Running…');
    haltPressed = null;
    const done = await client.run({ source, fresh: false, trace: true });
    korvane.haltMs = haltPressed === null ? null : performance.now() - haltPressed;
    // As on the desktop, a run that ended well shows its final picture; one
    // that failed leaves the screen with what its last show showed.
    if (done.status === 0) {
        shownFrame = client.frameCount();
        view.paint(done.pixels);
        if (recording) recording.add(view.indices, performance.now());
    }
    setRunning(false);
    // Halt pressed while a dialog waited: the run is over, so is the question.
    if ($('ask').open) $('ask').close();
    editor.markTrace(-1);
    const message = done.message.trimEnd();
    setState(done.status === 0 ? 'Ran' : 'Stopped');
    if (message) {
        $('report').textContent = message;
        editor.markError(done.errorLine);
        notice(message);
    }
}

async function inspect(event) {
    const at = view.pointAt(event);
    if (!at) return;
    const index = view.indexAt(at.x, at.y);
    const [r, g, b] = view.colourAt(index);
    let text = `x ${at.x}  y ${at.y}  index ${index}  rgb(${r}, ${g}, ${b})`;
    if (!running) {
        const origin = await client.inspect(at.x, at.y);
        text += origin.line >= 0 ? `\ndrawn by ${origin.builtin} in line ${origin.line}` : '\nnot drawn by the last run';
    }
    $('inspector').textContent = text;
}

async function loadExamples() {
    try {
        const names = await (await fetch('examples/index.json')).json();
        for (const name of names) $('examples').add(new Option(name, name));
    } catch {
        // The menu stays empty when the list cannot be had.
    }
}

async function readFile(input) {
    const file = input.files[0];
    input.value = '';
    return file ? { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) } : null;
}

function wire() {
    $('run').onclick = runEditor;
    $('halt').onclick = () => {
        haltPressed = performance.now();
        client.halt();
    };
    $('save-png').onclick = async () => download(await indexedPng(view.indices, view.palette), 'korvane.png');
    $('save-jpeg').onclick = () => $('canvas').toBlob((b) => download(b, 'korvane.jpg'), 'image/jpeg', 0.9);
    $('open').onclick = () => $('open-file').click();
    $('open-file').onchange = async () => {
        const file = await readFile($('open-file'));
        if (!file) return;
        editor.setText(P.fromLatin1(file.bytes));
        fileName = file.name;
    };
    $('save').onclick = () => {
        // Saved as the desktop's editor saves: CR LF line ends, nothing added.
        const text = editor.text().replace(/\r?\n/g, '\r\n');
        download(new Blob([P.toLatin1(text)], { type: 'text/plain' }), fileName);
    };
    $('examples').onchange = async () => {
        const name = $('examples').value;
        $('examples').value = '';
        if (name) editor.setText(P.fromLatin1(new Uint8Array(await (await fetch('examples/' + name)).arrayBuffer())));
    };
    $('palette').onclick = () => $('palette-file').click();
    $('palette-file').onchange = async () => {
        const file = await readFile($('palette-file'));
        if (file) client.setPalette(file.bytes);
    };
    for (const id of ['slow', 'stepping', 'delay']) $(id).oninput = updateTrace;
    $('step').onclick = () => client.step();
    $('record').onclick = () => {
        if (recording) {
            download(recording.finish(performance.now()), 'korvane.gif');
            recording = null;
        } else {
            recording = new GifRecording(view.palette);
            recording.add(view.indices, performance.now());
        }
        $('record').setAttribute('aria-pressed', String(!!recording));
        $('record').textContent = recording ? 'Stop recording' : 'Record GIF';
    };
    $('share').onclick = async () => {
        const link = await linkFor(editor.text());
        history.replaceState(null, '', link);
        try {
            await navigator.clipboard.writeText(link);
            setState('Link copied');
        } catch {
            setState('Link in the address bar');
        }
    };
    $('canvas').onmousemove = inspect;
}

// window.korvane.run: a run as a fresh korvane-run process would make it.
const korvane = {
    async run(source, options = {}) {
        const done = await client.run({
            source: String(source), fresh: true, input: options.input ?? '',
            seed: options.seed, maxSteps: options.maxSteps,
        });
        return { status: done.status, output: done.output, message: done.message, pixels: done.pixels };
    },
    halt: () => client.halt(),
    errorLine: () => editor.errorLine(),
    readyMs: null,
    paintMs: [],   // how long the latest frames took to paint
    haltMs: null,  // from Halt to the end of the last run it stopped
};
window.korvane = korvane;

async function start() {
    client = new WorkerClient(streamed);
    const ready = await client.ready;
    view.setPalette(ready.palette);
    const text = (await programFromLink(location.hash)) ?? localStorage.getItem('korvane.program') ??
        'main()\n{\n  clear(0);\n  setcolor(15);\n  circle(200, 200, 100, 14);\n  show();\n}\n';
    editor = new Editor($('editor'), ready.keywords, ready.builtins, text);
    wire();
    setRunning(false);
    setState('Ready');
    requestAnimationFrame(paintLoop);
    korvane.readyMs = performance.now();
    loadExamples();
}

if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
if (!crossOriginIsolated && !('serviceWorker' in navigator)) {
    // Without shared memory the worker could neither be halted nor asked.
    setState('This page needs a secure (https) host or http://127.0.0.1');
} else if (!crossOriginIsolated) {
    // The host sent no isolation headers: the service worker adds them once
    // it controls the page, so load the page again through it.
    navigator.serviceWorker?.ready.then(() => {
        if (!sessionStorage.getItem('korvane.reloaded')) {
            sessionStorage.setItem('korvane.reloaded', '1');
            location.reload();
        }
    });
    setState('Preparing the page…');
} else {
    start();
}
