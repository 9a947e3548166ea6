// SPDX-License-Identifier: GPL-3.0-or-later
// The page's debugger, as the window's Debug menu has it: the commands'
// buttons and keys, the breakpoints and pixel watches handed to the worker,
// and what a pause shows (the statement, the panels, the status line). The
// core decides where a run pauses; the page only shows it and answers.
import * as P from './protocol.js';
import { breakpointLines, editorPauses, markStatement, setBreakpointLines, toggleBreakpoint } from './editor_pauses.js';
import { PausePanels } from './pause_panels.js';
import { PixelWatches } from './pixel_watches.js';

// Idle, a command starts a run that follows it from the start (Continue
// runs); paused, it ends the pause; running, it applies from the next
// statement. F11 is the full-screen key of most browsers, which may keep it
// (and Shift+F11) for themselves: the buttons always work.
const COMMANDS = [
    { kind: P.CONTINUE, label: 'Continue', key: 'F5', title: 'Run, or go on up to a breakpoint or a watched pixel' },
    { kind: P.STEP_OVER, label: 'Step Over', key: 'F10', title: 'To the next statement; a call runs through' },
    { kind: P.STEP_INTO, label: 'Step Into', key: 'F11', title: 'To the next statement, in a called function too' },
    { kind: P.STEP_OUT, label: 'Step Out', key: 'Shift+F11', title: 'To the next statement of the caller' },
    { kind: P.RUN_TO_LINE, label: 'Run to Cursor', key: 'Ctrl+F10', title: 'Up to the line of the cursor' },
    { kind: P.NEXT_DRAWING_CALL, label: 'Next Drawing Call', key: 'F8', title: 'To just before the next drawing call' },
];
const TOGGLE_KEY = 'F9';

function keyName(event) {
    return (event.ctrlKey || event.metaKey ? 'Ctrl+' : '') + (event.shiftKey ? 'Shift+' : '') + event.key;
}

export class Debugger {
    // page: {client, bar, panels, watchList, canvasView, setState, report,
    // run(start), resumed()}: run starts a run of the editor's text with a
    // command; resumed tells that a paused run goes on.
    constructor(page) {
        this.page = page;
        this.editor = null;
        this.running = false;
        this.paused = false;
        this.pausedOnce = false;
        this.kept = new Map();  // file name -> {lines, pixels}: its breakpoints and watches, for the session
        this.panels = new PausePanels(page.panels);
        this.watches = new PixelWatches(page.canvasView, page.watchList,
                                        (pixels) => page.client.setWatches(pixels), page.report);
        for (const c of COMMANDS) {
            const button = document.createElement('button');
            button.textContent = c.label;
            button.title = `${c.title} (${c.key})`;
            button.dataset.command = String(c.kind);
            button.onclick = () => this.command(c.kind);
            page.bar.append(button);
        }
        const label = document.createElement('label');
        label.title = 'Show the Variables and Call Stack panels from the first pause on';
        this.panelsWanted = Object.assign(document.createElement('input'), { type: 'checkbox', checked: true });
        this.panelsWanted.oninput = () => this.showPanels();
        label.append(this.panelsWanted, ' Panels');
        page.bar.append(label);
    }

    // The editor's part: breakpoints go to the worker as they change.
    editorExtensions() {
        return editorPauses((lines) => {
            this.page.client.setBreakpoints(lines);
            if (lines.length > P.MAX_BREAKPOINTS)
                this.page.report(`Only the first ${P.MAX_BREAKPOINTS} breakpoints are kept.`);
        });
    }

    attach(editor) { this.editor = editor; }

    // Breakpoints and pixel watches are kept per file for the session: those
    // of the text shown are put away before put() replaces it with file to's
    // (none when fresh: a new program).
    switchFile(from, to, put, fresh = false) {
        this.kept.set(from, { lines: breakpointLines(this.editor.view.state), pixels: this.watches.pixels });
        put();
        const kept = fresh ? undefined : this.kept.get(to);
        setBreakpointLines(this.editor.view, kept?.lines ?? []);
        this.watches.set(kept?.pixels ?? []);
        this.panels.clear();
    }

    command(kind) {
        const view = this.editor.view;
        const line = kind === P.RUN_TO_LINE ? view.state.doc.lineAt(view.state.selection.main.head).number - 1 : -1;
        if (!this.running) {
            this.page.run({ kind, line });
            return;
        }
        if (this.paused) this.resumed();
        this.page.client.command(kind, line);
    }

    // Handles the debugger's keys; true when event was one.
    keydown(event) {
        const name = keyName(event);
        const command = COMMANDS.find((c) => c.key === name);
        if (command) this.command(command.kind);
        else if (name === TOGGLE_KEY) toggleBreakpoint(this.editor.view, this.editor.view.state.selection.main.head);
        else return false;
        event.preventDefault();
        return true;
    }

    runStarted() {
        this.running = true;
        this.panels.clear();
    }

    runEnded() {
        this.running = false;
        this.paused = false;
        markStatement(this.editor.view, null);
    }

    // A P.PAUSED message: the run waits for a command.
    showPause({ pause, range, timeline }) {
        this.paused = true;
        this.pausedOnce = true;
        this.editor.markTrace(pause.line);
        markStatement(this.editor.view, range);
        this.panels.show(pause);
        this.showPanels();
        this.page.setState(`Paused at line ${pause.line} (${pause.reason})`);
        if (pause.reason === 'pixel') {
            this.changedPixels(timeline.calls).then((pixels) => {
                if (this.paused && this.panels.at === pause && pixels.length)
                    this.page.setState(`Paused at line ${pause.line} (pixel ${pixels.join(' and ')})`);
            });
        }
    }

    // The watched pixels that call (the one the run paused after) wrote.
    async changedPixels(call) {
        const found = [];
        for (const [x, y] of this.watches.pixels) {
            const { writes } = await this.page.client.history(x, y);
            if (Number(writes.at(-1)?.call) === call) found.push(`${x}, ${y}`);
        }
        return found;
    }

    resumed() {
        this.paused = false;
        markStatement(this.editor.view, null);
        this.editor.markTrace(-1);
        this.page.resumed();
        this.page.setState('Running…');
    }

    // Hidden until the first pause, so the page a newcomer sees is unchanged.
    showPanels() {
        this.page.panels.hidden = !this.pausedOnce || !this.panelsWanted.checked;
    }
}
