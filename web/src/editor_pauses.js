// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's part of the debugger: breakpoint marks in a gutter beside the
// line numbers (a click there or on a number toggles one), kept on their
// lines as the text changes, and the mark of the statement a pause stops at.
import { MapMode, RangeSet, StateEffect, StateField } from '@codemirror/state';
import { Decoration, EditorView, GutterMarker, gutter } from '@codemirror/view';
import { unitsFor } from './protocol.js';

class BreakpointMarker extends GutterMarker {
    toDOM() {
        const dot = document.createElement('span');
        dot.className = 'cm-breakpoint';
        dot.textContent = '●';
        return dot;
    }
}
// Text typed at the start of a marked line pushes the mark on with it, and
// joining the line to the one above keeps the mark there.
BreakpointMarker.prototype.startSide = BreakpointMarker.prototype.endSide = 1;
BreakpointMarker.prototype.mapMode = MapMode.TrackDel;
const breakpointMarker = new BreakpointMarker();

const toggle = StateEffect.define();     // a line's start
const setLines = StateEffect.define();   // lines from 0

// One mark at the start of each marked line.
function normalised(marks, doc) {
    const starts = new Set();
    marks.between(0, doc.length, (from) => { starts.add(doc.lineAt(from).from); });
    return RangeSet.of([...starts].sort((a, b) => a - b).map((at) => breakpointMarker.range(at)));
}

// Another program put in (opened, an example, all text replaced) keeps none.
function replacesAll(tr) {
    const length = tr.startState.doc.length;
    let all = false;
    tr.changes.iterChangedRanges((fromA, toA) => { all ||= length > 0 && fromA === 0 && toA === length; });
    return all;
}

const breakpointField = StateField.define({
    create: () => RangeSet.empty,
    update(marks, tr) {
        if (tr.docChanged) marks = replacesAll(tr) ? RangeSet.empty : normalised(marks.map(tr.changes), tr.state.doc);
        for (const e of tr.effects) {
            if (e.is(setLines)) {
                const doc = tr.state.doc;
                const starts = e.value.filter((l) => l >= 0 && l < doc.lines).map((l) => doc.line(l + 1).from);
                marks = normalised(RangeSet.of(starts.map((at) => breakpointMarker.range(at)), true), doc);
            }
            if (!e.is(toggle)) continue;
            let on = false;
            marks.between(e.value, e.value, () => { on = true; });
            marks = on ? marks.update({ filter: (from) => from !== e.value })
                : marks.update({ add: [breakpointMarker.range(e.value)] });
        }
        return marks;
    },
});

// Lines (from 0) that carry a breakpoint, in order.
export function breakpointLines(state) {
    const lines = [];
    state.field(breakpointField).between(0, state.doc.length, (from) => {
        lines.push(state.doc.lineAt(from).number - 1);
    });
    return lines;
}

export function setBreakpointLines(view, lines) { view.dispatch({ effects: setLines.of(lines) }); }

export function toggleBreakpoint(view, pos) {
    view.dispatch({ effects: toggle.of(view.state.doc.lineAt(pos).from) });
    return true;
}

const setStatement = StateEffect.define();   // {from, to}, or null
const statementField = StateField.define({
    create: () => Decoration.none,
    update(marks, tr) {
        marks = marks.map(tr.changes);
        for (const e of tr.effects) {
            if (!e.is(setStatement)) continue;
            marks = e.value ? Decoration.set([Decoration.mark({ class: 'cm-pause-statement' }).range(e.value.from, e.value.to)])
                : Decoration.none;
        }
        return marks;
    },
    provide: (f) => EditorView.decorations.from(f),
});

// Marks the text of range ({line, column, endLine, endColumn}, from 0) and
// shows it; null clears the mark.
export function markStatement(view, range) {
    const doc = view.state.doc;
    const at = (line, column) => {
        if (line < 0 || line >= doc.lines) return null;
        const l = doc.line(line + 1);
        return Math.min(l.from + unitsFor(l.text, Math.max(column, 0)), l.to);
    };
    const from = range && at(range.line, range.column);
    const to = range && at(range.endLine, range.endColumn);
    const marked = from !== null && to !== null && to > from ? { from, to } : null;
    const effects = [setStatement.of(marked)];
    if (marked) effects.push(EditorView.scrollIntoView(marked.from, { y: 'nearest' }));
    view.dispatch({ effects });
}

// changed(lines) is called whenever the marked lines change.
export function editorPauses(changed) {
    let last = '';
    return [
        breakpointField,
        statementField,
        gutter({
            class: 'cm-breakpoint-gutter',
            markers: (view) => view.state.field(breakpointField),
            initialSpacer: () => breakpointMarker,
            domEventHandlers: { mousedown: (view, line) => toggleBreakpoint(view, line.from) },
        }),
        EditorView.updateListener.of((update) => {
            const lines = breakpointLines(update.state);
            if (String(lines) === last) return;
            last = String(lines);
            changed(lines);
        }),
    ];
}
