// SPDX-License-Identifier: GPL-3.0-or-later
// The page owns the screen: editor, canvas, buttons and dialogs. Programs
// run in the worker; window.korvane.run is the interface for tests and tools.
import * as P from './protocol.js';
import { WorkerClient } from './worker_client.js';
import { Editor } from './editor.js';
import { CanvasView } from './canvas_view.js';
import { indexedPng } from './png.js';
import { GifRecording } from './gif.js';
import { programFromLink, linkFor } from './share.js';
import { TextStore } from './text_store.js';
import { ABOUT_TOPIC, Help } from './help.js';
import { styleOf } from './highlight.js';
import { OutputPane } from './output_pane.js';
import { Assist } from './assist.js';
import { OutlineClient } from './outline_client.js';
import { TimelineBar } from './timeline_bar.js';
import { Debugger } from './debugger.js';
import { CanvasCursor } from './canvas_cursor.js';
import { cyclePanes } from './panes.js';
import { CanvasDescription } from './canvas_description.js';
import { mayReplace } from './unsaved.js';
import { ExercisePane } from './exercise_pane.js';

const $ = (id) => document.getElementById(id);
const view = new CanvasView($('canvas'));
const store = new TextStore();
const help = new Help($('help-dialog'), $('help-search'), $('help-text'));
const printed = new OutputPane($('output'));
const INSPECTOR_IDLE = $('inspector').textContent;
let editor = null;
let assist = null;
let reader = null;          // the editor's reader: outlines, and program files read and written
let timeline = null;       // the bar under the canvas
let hovered = null;        // the pixel last pointed at (mouse or keys), for the inspector
let debug = null;          // the debugger's buttons, marks and panels
let description = null;    // the canvas in words
let exercises = null;      // the open exercise's statement and Check
let ready = null;          // what the worker said when it started
let running = false;
let recording = null;
let shownFrame = 0;
let fileName = 'program.cg';   // what Save offers: the name last opened
let savedText = null;          // the named file's text as opened or saved; null: no file
let output = [];               // printed lines not yet in the Output pane
let dropped = 0;               // output lines of this run left out

// The first program a newcomer sees: yellow rings on the black canvas.
const FIRST_PROGRAM = 'main()\n{\n  int r;\n  clear(0);\n  for (r = 60; r < 140; r += 4)\n' +
    '    circle(200, 200, r, 5);\n  show();\n}\n';

function download(blob, name) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = name;
    a.click();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
}

function setState(text) { $('state').textContent = text; }

let client = null;
const streamed = {
    failed: (why) => setState(`The interpreter could not start: ${why}`),
    [P.OUTPUT]: (m) => {
        output.push(...m.lines);
        dropped += m.dropped;
        if (output.length > P.OUTPUT_KEPT) dropped += output.splice(0, output.length - P.OUTPUT_KEPT).length;
    },
    [P.SHOWN]: (m) => recording?.add(m.pixels, m.at),
    [P.AT_CALL]: (m) => {
        timeline.shown(m);
        if (hovered) inspect(hovered);
    },
    [P.INPUT]: (m) => ask(m.kind),
    [P.TRACE]: (m) => {
        editor.markTrace(m.line);
        setState(`Line ${m.line}: ${m.builtin}`);
    },
    [P.PAUSED]: (m) => {
        // The paused run's canvas is on the screen before the timeline keeps it.
        shownFrame = client.frameCount();
        view.paint(client.shared.frame);
        debug.showPause(m);
        timeline.set(m.timeline, null, true);
        description.setOffered(true);
    },
    [P.PALETTE_SET]: (m) => {
        if (m.error) report(m.error);
        view.setPalette(m.palette);
        description.forget();
    },
};

function report(text) {
    $('report').textContent = text;
    $('hint').textContent = '';
}

function droppedNote() {
    return dropped ? `${dropped} earlier output lines were dropped; the last ${P.OUTPUT_KEPT} are kept.` : '';
}

// Output that arrived since the last refresh goes into the pane at once.
function showOutput() {
    if (output.length) {
        dropped += printed.append(output);
        output = [];
        if (running && dropped) setState(`Running… ${droppedNote()}`);
    }
    client.wantOutput();
}

// Paints the newest frame and the new output, at most once per display refresh.
function paintLoop() {
    const frame = client.frameCount();
    if (frame !== shownFrame) {
        shownFrame = frame;
        performance.mark('paint-start');
        view.paint(client.shared.frame);
        performance.measure('paint', 'paint-start');
        if (performance.getEntriesByName('paint').length > 1000) performance.clearMeasures('paint');
    }
    showOutput();
    requestAnimationFrame(paintLoop);
}

function ask(kind) {
    $('ask-caption').textContent = ready.captions[kind];
    $('ask-answer').value = '';
    $('ask').returnValue = '';
    $('ask').showModal();
}

function updateTrace() {
    client.setTrace($('slow').checked ? P.TRACE_SLOW : P.TRACE_OFF, Number($('delay').value));
}

function setRunning(on) {
    running = on;
    $('run').disabled = on || exercises.checking;
    $('halt').disabled = !on && !exercises.checking;
    $('check').disabled = on || exercises.checking || !exercises.exercise;
    $('new').disabled = on;
    $('open').disabled = on;
    $('examples').disabled = on;
    $('exercises').disabled = on || exercises.checking;
    $('palette').disabled = on;
    editor.setReadOnly(on);
    description.setOffered(!on);
    updateTrace();
}

// From the moment of the click or key (event.timeStamp), so a busy page's
// delay in seeing it counts too.
function halt(event) {
    if (exercises.checking) return exercises.stop();
    if (!running) return;
    performance.mark('halt', { startTime: event?.timeStamp ?? performance.now() });
    client.halt();
}

// start: the debugger's command the run begins with; none runs to a pause.
// answers: {input, seed} of an exercise's check. Resolves with the run's end.
async function runEditor(start, answers = exercises.answers()) {
    if (running || exercises.checking) return null;
    exercises.restoreScreen();
    editor.markError(-1);
    assist.markError(editor.view, null);
    report('');
    printed.clear();
    output = [];
    dropped = 0;
    setRunning(true);
    timeline.set(null);
    setState('Running…');
    debug.runStarted();
    showInspector();
    performance.clearMarks('halt');
    const done = await client.run({ source: editor.text(), fresh: false, trace: true, start, ...answers });
    if (performance.getEntriesByName('halt').length) performance.measure('halt-to-end', 'halt');
    showOutput();
    // As on the desktop, a run that ended well shows its final picture; one
    // that failed leaves the screen with what its last show showed.
    if (done.status === 0) {
        shownFrame = client.frameCount();
        view.paint(done.pixels);
    }
    recording?.endRun(view.indices, done.at);
    setRunning(false);
    debug.runEnded();
    // Halt pressed while a dialog waited: the run is over, so is the question.
    if ($('ask').open) $('ask').close('halt');
    editor.markTrace(-1);
    timeline.set(done.timeline ?? { calls: 0, first: 0, line: -1, call: '' }, done.pixels);
    const message = done.message.trimEnd();
    const halted = done.cutShort || message.includes('user terminated program');
    setState(done.status === 0 ? 'Finished' : halted ? 'Halted' : 'Stopped');
    // The report shows under the editor, its line marked: nothing stands in front of the text.
    report([message, droppedNote()].filter(Boolean).join('\n'));
    if (message) editor.markError(done.errorLine);
    // The hint under the message, the token it speaks of underlined, and
    // both in a note under the line, as the desktop's annotation.
    const hint = done.details?.hint ?? '';
    $('hint').textContent = hint;
    const note = [message, hint].filter(Boolean).join('\n');
    assist.markError(editor.view, { token: done.details?.token, line: message ? done.errorLine : -1, note });
    return done;
}

// What the inspector says of pixel at ({x, y}).
async function inspect(at) {
    const index = view.indexAt(at.x, at.y);
    const [r, g, b] = view.colourAt(index);
    let text = `x ${at.x}  y ${at.y}  index ${index}  rgb(${r}, ${g}, ${b})`;
    // Only the last run of the program shown can name a call.
    const ran = !running && timeline.timeline;
    if (ran && !timeline.agrees(at.x, at.y)) {
        text += '\ndrawn over later in the run';
    } else if (ran) {
        const origin = await client.inspect(at.x, at.y);
        text += origin.line >= 0 ? `\ndrawn by ${origin.builtin} in line ${origin.line}` : '\nnot drawn by the last run';
    }
    $('inspector').textContent = text;
}

// The pixel last pointed at, or what the inspector is for.
function showInspector() {
    if (hovered) inspect(hovered);
    else $('inspector').textContent = INSPECTOR_IDLE;
}

// Another program in the editor: nothing on the screen may tell of the last
// one's run; a new program takes no marks kept for its name.
function switchFile(name, text, fresh = false) {
    debug.switchFile(fileName, name, () => editor.setText(text), fresh);
    fileName = name;
    hovered = null;
    timeline.set(null);
    view.paint(new Uint8Array(P.PIXELS));
    printed.clear();
    report('');
    assist.markError(editor.view, null);
    showInspector();
    description.forget();
    setState('Ready');
}

// Whether the editor holds changes that another program would lose: to the
// file last opened or saved, or typed into one that is no file.
function unsaved() {
    const text = editor.text();
    return savedText !== null ? text !== savedText : store.typed() && text !== '';
}

async function saveProgram() {
    // Saved as the desktop's editor saves: CR LF line ends, nothing added.
    const saved = editor.text();
    const bytes = await reader.programBytes(saved.replace(/\r?\n/g, '\r\n'));
    download(new Blob([bytes], { type: 'text/plain' }), fileName);
    savedText = saved;
}

// New, as on the desktop: an empty program with no name yet.
async function newProgram() {
    if (running || !(await mayReplace(unsaved, saveProgram)) || running) return;
    switchFile('program.cg', '', true);
    savedText = null;
    editor.view.focus();
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

function toggleRecording() {
    if (recording) {
        if (recording.count === 0) recording.add(view.indices, performance.timeOrigin + performance.now());
        download(recording.finish(performance.timeOrigin + performance.now()), 'korvane.gif');
        recording = null;
    } else {
        recording = new GifRecording(view.palette);
    }
    client.setRecording(!!recording);
    $('record').setAttribute('aria-pressed', String(!!recording));
    $('record').textContent = recording ? 'Stop recording' : 'Record GIF';
}

function wireFiles() {
    $('save-png').onclick = async () => download(await indexedPng(view.indices, view.palette), 'korvane.png');
    $('save-jpeg').onclick = () => $('canvas').toBlob((b) => download(b, 'korvane.jpg'), 'image/jpeg', 0.9);
    $('new').onclick = newProgram;
    $('open').onclick = async () => {
        if (await mayReplace(unsaved, saveProgram)) $('open-file').click();
    };
    $('open-file').onchange = async () => {
        const file = await readFile($('open-file'));
        if (!file) return;
        switchFile(file.name, await reader.programText(file.bytes));
        savedText = editor.text();
    };
    $('save').onclick = saveProgram;
    $('examples').onchange = async () => {
        const name = $('examples').value;
        $('examples').value = '';
        if (!name || !(await mayReplace(unsaved, saveProgram))) return;
        const text = await reader.programText(new Uint8Array(await (await fetch('examples/' + name)).arrayBuffer()));
        switchFile(name, text);
        savedText = null;   // an example is no file of the user's to keep
    };
    $('palette').onclick = () => $('palette-file').click();
    $('palette-file').onchange = async () => {
        const file = await readFile($('palette-file'));
        if (file) client.setPalette(file.name, file.bytes);
    };
    // Leaving with unsaved edits to a named file asks first.
    addEventListener('beforeunload', (event) => {
        if (savedText !== null && editor.text() !== savedText) event.preventDefault();
    });
}

function wire() {
    $('run').onclick = () => runEditor();
    $('halt').onclick = halt;
    $('ask-halt').onclick = halt;
    $('ask').addEventListener('close', () => {
        // Cancel gives the empty answer, as the desktop's input box does.
        if (running) client.answer($('ask').returnValue === 'ok' ? $('ask-answer').value : '');
    });
    // A modal dialog makes the page's access keys inert; Halt's works anyway.
    // Run's is the page's own too, as not every browser hands Alt+R on.
    addEventListener('keydown', (event) => {
        if (event.altKey && event.key.toLowerCase() === 'h' && (running || exercises.checking)) {
            event.preventDefault();
            halt(event);
        } else if (event.altKey && event.key.toLowerCase() === 'r' && !document.querySelector('dialog[open]')) {
            event.preventDefault();
            runEditor();
        } else if (event.key === 'F1') {
            event.preventDefault();
            help.open();
        } else if (!document.querySelector('dialog[open]') && !cyclePanes(PANES, event)) {
            debug.keydown(event);
        }
    });
    $('help').onclick = () => help.open();
    $('about').onclick = () => help.open(ABOUT_TOPIC);
    wireFiles();
    for (const id of ['slow', 'delay']) $(id).oninput = updateTrace;
    $('record').onclick = toggleRecording;
    $('share').onclick = async () => {
        const link = await linkFor(editor.text(), reader);
        history.replaceState(null, '', link);
        try {
            await navigator.clipboard.writeText(link);
            setState('Link copied');
        } catch {
            setState('Link in the address bar');
        }
    };
    const point = (at) => {
        hovered = at;
        inspect(at);
    };
    $('canvas').onmousemove = (event) => {
        const at = view.pointAt(event);
        if (at) point(at);
    };
    // The bar answers only while it holds a timeline: after a run or at a pause.
    const showHistory = (at) => timeline.history(at.x, at.y);
    $('canvas').onclick = (event) => {
        const at = view.pointAt(event);
        if (at) showHistory(at);
    };
    new CanvasCursor($('canvas'), { moved: point, chosen: showHistory, menu: (at, x, y) => debug.watches.openAt(at, x, y) });
}

const PANES = ['header nav', '#editor', '#output', '.canvas-pane', '#pause-panels', 'footer']
    .map((s) => document.querySelector(s));

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
    // The underlined error token: {line, column, length, text}, or null.
    errorToken: () => assist.errorToken(editor.view.state),
    // What the Output pane shows.
    output: () => printed.text(),
    paletteEntry: (index) => view.colourAt(index),
    // The call whose canvas the timeline shows (null: the screen is as the
    // run left it), and the screen's palette indices, bottom row first.
    timelineCall: () => timeline.shownCall,
    shownIndices: () => view.indices,
    // The editor's style of every character of text (newlines left out).
    styleOf: (text) => styleOf(text, ready.keywords, ready.builtins),
    readyMs: null,
};
window.korvane = korvane;

// A link's program, unless this tab holds typed work and the user keeps it.
async function startText() {
    const linked = await programFromLink(location.hash, reader);
    const mine = store.tabText();
    // The link has been read; a reload brings back this tab's text.
    if (linked !== null) history.replaceState(null, '', location.pathname + location.search);
    if (linked === null) return mine ?? store.lastText() ?? FIRST_PROGRAM;
    if (mine === null || mine === linked || !store.typed()) return linked;
    $('keep').returnValue = '';
    $('keep').showModal();
    await new Promise((resolve) => $('keep').addEventListener('close', resolve, { once: true }));
    return $('keep').returnValue === 'link' ? linked : mine;
}

async function start() {
    client = new WorkerClient(streamed);
    ready = await client.ready;
    view.setPalette(ready.palette);
    // The editor's reader starts once the page can run, so it never delays that.
    reader = new OutlineClient();
    const text = await startText();
    assist = new Assist(ready.keywords, reader);
    debug = new Debugger({
        client, bar: $('debug-bar'), panels: $('pause-panels'), watchList: $('watches'), canvasView: view,
        setState, report, run: runEditor, resumed: () => {
            timeline.set(null);
            description.setOffered(false);
        },
    });
    editor = new Editor($('editor'), ready.keywords, ready.builtins, text, (doc, how) => store.keep(doc, how),
                        [assist.extension(), debug.editorExtensions()]);
    debug.attach(editor);
    exercises = new ExercisePane(exercisePage());
    timeline = new TimelineBar(client, view, editor, { save: download, say: setState });
    description = new CanvasDescription(client, { pixels: () => view.indices, ran: () => timeline.timeline !== null });
    store.keep(text, text === store.tabText() ? 'restored' : 'loaded');
    wire();
    setRunning(false);
    // How runs reach the page: the same programs either way, but a host
    // that sends the isolation headers (README, "Hosting the page") runs
    // them without stopping every few milliseconds.
    korvane.mode = P.modeName(client.shares);
    $('state').title = `Programs run through ${korvane.mode}`;
    setState(`Ready (${korvane.mode})`);
    requestAnimationFrame(paintLoop);
    performance.mark('ready');
    korvane.readyMs = performance.getEntriesByName('ready')[0].startTime;
    loadExamples();
    exercises.start();
}

// What the exercise pane does to the rest of the page.
function exercisePage() {
    const defaultPalette = ready.palette.slice(0, 1024);
    return {
        text: () => editor.text(),
        // The starter, unsaved until the student saves it; false when the
        // user keeps the program the editor holds.
        load: async (name, text) => {
            if (!(await mayReplace(unsaved, saveProgram))) return false;
            switchFile(name, text);
            savedText = null;
            return true;
        },
        // An exercise without a palette of its own draws in the default one.
        setPalette: (bytes) => client.setPalette(bytes ? 'palette.pal' : 'default.pal', bytes ?? defaultPalette),
        programText: (bytes) => reader.programText(bytes),
        run: (answers) => runEditor(undefined, answers),
        showCall: (k) => timeline.showCall(k),
        palette: () => view.palette,
        paint: (pixels, palette) => {
            if (palette) view.setPalette(palette);
            if (pixels) view.paint(pixels);
        },
        say: setState,
        busy: () => setRunning(running),
    };
}

// The service worker keeps the page for offline use and, on a secure host
// that sends no isolation headers, adds them from the next visit on. The
// page starts at once either way: without shared memory runs go in slices.
if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
start();
