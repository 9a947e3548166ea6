// SPDX-License-Identifier: GPL-3.0-or-later
// The program editor: CodeMirror 6 with the few extensions the page needs.
// Line numbers count from 0, as error reports do; keywords and built-ins
// come from the interpreter's own tables. Every token colour keeps 4.5:1
// against each line mark's background, so marks never hide the text.
import { Compartment, EditorState, StateEffect, StateField } from '@codemirror/state';
import { EditorView, Decoration, keymap, lineNumbers, highlightActiveLine } from '@codemirror/view';
import { defaultKeymap, history, historyKeymap, indentWithTab } from '@codemirror/commands';
import { syntaxHighlighting, HighlightStyle } from '@codemirror/language';
import { search, searchKeymap, openSearchPanel, gotoLine } from '@codemirror/search';
import { tags } from '@lezer/highlight';
import { programLanguage } from './highlight.js';
import { toggleBreakpoint } from './editor_pauses.js';

// Escape, then Tab within two seconds, leaves the editor, even when that
// Escape also drops a selection or closes a list (which would keep it).
const leaveKey = { key: 'Escape', run: (view) => { view.setTabFocusMode(2000); return false; } };

// Ctrl+F finds, Ctrl+H replaces (the same panel), Ctrl+G goes to a line.
const findKeys = [
    { key: 'Mod-h', run: openSearchPanel, preventDefault: true },
    { key: 'Mod-g', run: gotoLine, preventDefault: true },
];

const style = HighlightStyle.define([
    { tag: tags.keyword, color: '#0000c0', fontWeight: 'bold' },
    { tag: tags.standard(tags.variableName), color: '#800080' },
    { tag: tags.comment, color: '#006000', fontStyle: 'italic' },
    { tag: [tags.string, tags.character], color: '#a31515' },
    { tag: tags.number, color: '#00603c' },
]);

// A marked line (the error's, or the call a trace stopped at); -1: none.
function lineMark(className) {
    const set = StateEffect.define();
    const field = StateField.define({
        create: () => Decoration.none,
        update(marks, tr) {
            marks = marks.map(tr.changes);
            for (const e of tr.effects) {
                if (!e.is(set)) continue;
                if (e.value < 0 || e.value >= tr.state.doc.lines) return Decoration.none;
                const line = tr.state.doc.line(e.value + 1);
                return Decoration.set([Decoration.line({ class: className }).range(line.from)]);
            }
            return tr.docChanged ? Decoration.none : marks;
        },
        provide: (f) => EditorView.decorations.from(f),
    });
    return { set, field };
}

function lockedWhile(on) {
    return [EditorState.readOnly.of(on), EditorView.editable.of(!on)];
}

function changeKind(transactions) {
    const typed = ['input', 'delete', 'move', 'undo', 'redo'];
    return transactions.some((tr) => typed.some((event) => tr.isUserEvent(event))) ? 'typed' : 'loaded';
}

export class Editor {
    // changed(doc, how) is called after every change of the text; how is
    // 'typed' (the user's edit) or 'loaded' (a program put in whole);
    // extensions are the page's others (the assist's, the debugger's).
    constructor(parent, keywords, builtins, text, changed, extensions = []) {
        this.error = lineMark('cm-error-line');
        this.trace = lineMark('cm-trace-line');
        this.readOnly = new Compartment();
        this.view = new EditorView({
            parent,
            state: EditorState.create({
                doc: text,
                extensions: [
                    extensions,
                    lineNumbers({
                        formatNumber: (n) => String(n - 1),
                        domEventHandlers: { mousedown: (view, line) => toggleBreakpoint(view, line.from) },
                    }),
                    highlightActiveLine(),
                    // Named for screen readers, with the keys that leave it; a
                    // tab stop while a run locks it too, so it can still be read.
                    EditorView.contentAttributes.of({ 'aria-label': 'Program', 'aria-describedby': 'editor-keys', tabindex: '0' }),
                    history(),
                    this.readOnly.of(lockedWhile(false)),
                    search({ top: true }),
                    keymap.of([leaveKey, ...findKeys, ...searchKeymap, ...defaultKeymap, ...historyKeymap, indentWithTab]),
                    programLanguage(keywords, builtins),
                    EditorView.updateListener.of((update) => {
                        if (update.docChanged) changed(update.state.doc, changeKind(update.transactions));
                    }),
                    syntaxHighlighting(style),
                    this.error.field,
                    this.trace.field,
                    extensions,
                ],
            }),
        });
    }

    text() { return this.view.state.doc.toString(); }

    // While a program runs its text cannot be edited, as on the desktop, so
    // the run's output always follows the program.
    setReadOnly(on) {
        this.view.dispatch({ effects: this.readOnly.reconfigure(lockedWhile(on)) });
    }

    setText(text) {
        this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: text } });
    }

    // Marks line (counted from 0) as the error's and scrolls it into view.
    markError(line) { this.mark(this.error, line); }
    markTrace(line) { this.mark(this.trace, line); }

    mark(kind, line) {
        const effects = [kind.set.of(line)];
        if (line >= 0 && line < this.view.state.doc.lines)
            effects.push(EditorView.scrollIntoView(this.view.state.doc.line(line + 1).from, { y: 'center' }));
        this.view.dispatch({ effects });
    }

    // The marked error line, or -1 (for tests and tools).
    errorLine() {
        let found = -1;
        this.view.state.field(this.error.field).between(0, this.view.state.doc.length, (from) => {
            found = this.view.state.doc.lineAt(from).number - 1;
        });
        return found;
    }
}
