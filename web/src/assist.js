// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor knows of the language as you type, as the desktop
// editor's assist does: warnings about calls with another number of values
// (a wavy underline, the signature on hover), call tips with the current
// argument in bold, completion of names, and the underline of the token where
// the last error was found. Everything comes from the core: its built-in
// table and its outline of the program, read by the editor's own reader
// (outline_client.js) so neither typing nor a run waits for it.
import { Prec, StateEffect, StateField } from '@codemirror/state';
import { Decoration, EditorView, ViewPlugin, WidgetType, hoverTooltip, keymap, showTooltip } from '@codemirror/view';
import {
    acceptCompletion, autocompletion, closeCompletion, moveCompletionSelection, startCompletion,
} from '@codemirror/autocomplete';
import { characterCount, unitsFor } from './protocol.js';

const REREAD_MS = 300;          // the outline is read again this long after the last edit
const COMPLETE_AFTER = 3;       // letters typed before the list opens by itself
const CALL_SEARCH_LIMIT = 4000; // how far back a call's `(` is looked for
const NO_OUTLINE = { functions: [], names: [], warnings: [] };

const setOutline = StateEffect.define();
const setErrorToken = StateEffect.define();
const closeTip = StateEffect.define();

function element(tag, className, text) {
    const e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
}

// The range of a place ({line, column, length}, counted from 0) in doc, or
// null when the text no longer has it.
function rangeOf(doc, place) {
    if (!place || place.line < 0 || place.line >= doc.lines) return null;
    const line = doc.line(place.line + 1);
    const from = line.from + unitsFor(line.text, place.column);
    const to = Math.min(line.from + unitsFor(line.text, place.column + Math.max(place.length, 1)), line.to);
    return from < to ? { from, to } : null;
}

// The warning each wavy underline stands for.
const warningOf = new WeakMap();

// The program's outline and its warnings as decorations, kept in step with
// the text until the worker reads it again.
const outlineField = StateField.define({
    create: () => ({ outline: NO_OUTLINE, marks: Decoration.none }),
    update(value, tr) {
        for (const e of tr.effects) {
            if (!e.is(setOutline)) continue;
            const marks = [];
            for (const w of e.value.warnings) {
                const r = rangeOf(tr.state.doc, w.place);
                if (!r) continue;
                const mark = Decoration.mark({ class: 'cm-warning' });
                warningOf.set(mark, w);
                marks.push(mark.range(r.from, r.to));
            }
            return { outline: e.value, marks: Decoration.set(marks, true) };
        }
        return tr.docChanged ? { ...value, marks: value.marks.map(tr.changes) } : value;
    },
    provide: (f) => EditorView.decorations.from(f, (v) => v.marks),
});

// The token of the last error, until the text changes or the next run.
// The report and its hint in a box under the report's line, as the
// desktop's annotation: the lines below move down, nothing covers them.
class ErrorNote extends WidgetType {
    constructor(text) {
        super();
        this.text = text;
    }
    eq(other) { return other.text === this.text; }
    toDOM() { return element('div', 'cm-error-note', this.text); }
}

// The error's token underlined and its note under its line, until the next edit.
const errorField = StateField.define({
    create: () => Decoration.none,
    update(marks, tr) {
        for (const e of tr.effects) {
            if (!e.is(setErrorToken)) continue;
            const doc = tr.state.doc;
            const found = [];
            const r = rangeOf(doc, e.value?.token);
            if (r) found.push(Decoration.mark({ class: 'cm-error-token' }).range(r.from, r.to));
            const line = e.value?.line ?? -1;
            if (e.value?.note && line >= 0 && line < doc.lines) {
                const note = Decoration.widget({ widget: new ErrorNote(e.value.note), block: true, side: 1 });
                found.push(note.range(doc.line(line + 1).to));
            }
            return Decoration.set(found, true);
        }
        return tr.docChanged ? Decoration.none : marks;
    },
    provide: (f) => EditorView.decorations.from(f),
});

// The call whose parentheses hold pos: the name before the open `(` and the
// number of commas between it and pos; null outside any call.
function callAt(doc, pos) {
    const start = Math.max(0, pos - CALL_SEARCH_LIMIT);
    const text = doc.sliceString(start, pos);
    let depth = 0, commas = 0;
    for (let i = text.length - 1; i >= 0; i--) {
        const c = text[i];
        if (c === ')') depth++;
        else if (c === ',' && depth === 0) commas++;
        else if (c === ';' || c === '{' || c === '}') return null;
        else if (c === '(' && depth-- === 0) {
            const name = /([A-Za-z0-9_]+) *$/.exec(text.slice(0, i));
            return name ? { name: name[1].toLowerCase(), argument: commas } : null;
        }
    }
    return null;
}

function isCallOpener(tr) {
    if (!tr.isUserEvent('input.type')) return false;
    let opens = false;
    tr.changes.iterChanges((_a, _b, _c, _d, inserted) => { opens ||= /[(,]$/.test(inserted.toString()); });
    return opens;
}

export class Assist {
    // keywords: the language's; reader: an OutlineClient.
    constructor(keywords, reader) {
        this.keywords = keywords;
        this.reader = reader;
        this.builtins = new Map();   // name -> {name, arguments, signature, description}
        this.tip = this.tipField();
        reader.builtins.then((table) => { this.builtins = new Map(table.map((b) => [b.name, b])); });
    }

    extension() {
        return [
            outlineField, errorField, this.tip, this.rereading(),
            hoverTooltip((view, pos) => this.hover(view, pos)),
            autocompletion({ override: [(context) => this.complete(context)], defaultKeymap: false }),
            // Enter stays a line break: Tab or a click picks a name.
            Prec.highest(keymap.of([
                { key: 'Ctrl-Space', run: startCompletion },
                {
                    key: 'Escape',
                    run: (view) => {
                        const tip = this.hideTip(view);
                        return closeCompletion(view) || tip;
                    },
                },
                { key: 'ArrowDown', run: moveCompletionSelection(true) },
                { key: 'ArrowUp', run: moveCompletionSelection(false) },
                { key: 'PageDown', run: moveCompletionSelection(true, 'page') },
                { key: 'PageUp', run: moveCompletionSelection(false, 'page') },
                { key: 'Tab', run: acceptCompletion },
            ])),
        ];
    }

    // Underlines the token of an error ({token}) and shows its note (the
    // report and its hint) under its line; null clears both.
    markError(view, error) {
        view.dispatch({ effects: setErrorToken.of(error) });
    }

    // The underlined error token as {line, column, length, text}, or null.
    errorToken(state) {
        let found = null;
        state.field(errorField).between(0, state.doc.length, (from, to) => {
            if (from === to) return;  // the note
            const line = state.doc.lineAt(from);
            const text = state.sliceDoc(from, to);
            found = { line: line.number - 1, column: characterCount(state.sliceDoc(line.from, from)),
                      length: characterCount(text), text };
        });
        return found;
    }

    // Reads the outline again a moment after the last edit; one reading at
    // a time, the newest text next.
    rereading() {
        const assist = this;
        return ViewPlugin.fromClass(class {
            constructor(view) {
                this.view = view;
                this.timer = 0;
                this.reading = false;
                this.again = false;
                this.gone = false;
                this.schedule(0);
            }
            update(update) {
                if (update.docChanged) this.schedule(REREAD_MS);
            }
            schedule(ms) {
                clearTimeout(this.timer);
                this.timer = setTimeout(() => this.read(), ms);
            }
            async read() {
                if (this.reading) {
                    this.again = true;
                    return;
                }
                this.reading = true;
                const doc = this.view.state.doc;
                const outline = await assist.reader.outline(doc.toString());
                this.reading = false;
                if (this.gone) return;
                if (outline && this.view.state.doc === doc) this.view.dispatch({ effects: setOutline.of(outline) });
                if (this.again) {
                    this.again = false;
                    this.read();
                }
            }
            destroy() {
                this.gone = true;
                clearTimeout(this.timer);
            }
        });
    }

    // What name (lower case; names ignore case) takes and is: {args,
    // description}, or null when it is neither a built-in nor a function of
    // the program.
    callee(state, name) {
        const builtin = this.builtins.get(name);
        if (builtin) return { args: builtin.arguments ? builtin.arguments.split(', ') : [], description: builtin.description };
        const own = state.field(outlineField).outline.functions.find((f) => f.name.toLowerCase() === name);
        return own ? { args: own.parameters, description: `a function of this program, line ${own.line}` } : null;
    }

    // The signature of name with argument (-1: none) in bold, and what it
    // is, as an element; null for an unknown name.
    signature(state, name, argument) {
        const callee = this.callee(state, name);
        if (!callee) return null;
        const box = element('div', 'cm-assist-tip');
        const code = box.appendChild(element('code', '', `${name}(`));
        callee.args.forEach((a, i) => {
            if (i) code.append(', ');
            code.append(i === argument ? element('b', '', a) : a);
        });
        code.append(')');
        box.appendChild(element('div', '', callee.description));
        return box;
    }

    // The call tip: opened by typing `(` or `,`, it follows the caret while
    // it stays inside a known call.
    tipField() {
        return StateField.define({
            create: () => null,
            update: (tip, tr) => {
                if (tr.effects.some((e) => e.is(closeTip))) return null;
                if (!tip && !isCallOpener(tr)) return null;
                if (!tr.docChanged && !tr.selection) return tip;
                const pos = tr.state.selection.main.head;
                const call = callAt(tr.state.doc, pos);
                if (!call || !this.callee(tr.state, call.name)) return null;
                return {
                    pos, above: true, strictSide: false,
                    create: (view) => ({ dom: this.signature(view.state, call.name, call.argument) }),
                };
            },
            provide: (f) => showTooltip.from(f),
        });
    }

    // Closes the call tip; whether there was one.
    hideTip(view) {
        if (!view.state.field(this.tip)) return false;
        view.dispatch({ effects: closeTip.of(null) });
        return true;
    }

    // Pointing at a warning shows it with the signature; at a called name,
    // its signature and what it does.
    hover(view, pos) {
        let warning = null, from = pos, to = pos;
        view.state.field(outlineField).marks.between(pos, pos, (a, b, mark) => {
            if (a > pos || pos >= b) return;
            warning = warningOf.get(mark);
            from = a;
            to = b;
        });
        if (warning) {
            const box = element('div', 'cm-assist-tip', warning.text);
            if (warning.signature) box.appendChild(element('div')).appendChild(element('code', '', warning.signature));
            return { pos: from, end: to, above: true, create: () => ({ dom: box }) };
        }
        const word = view.state.wordAt(pos);
        if (!word) return null;
        const dom = this.signature(view.state, view.state.sliceDoc(word.from, word.to).toLowerCase(), -1);
        return dom ? { pos: word.from, end: word.to, above: true, create: () => ({ dom }) } : null;
    }

    // Built-ins, keywords and the program's own names, on Ctrl+Space or
    // after three letters of a name.
    complete(context) {
        const word = context.matchBefore(/[A-Za-z_][A-Za-z0-9_]*/);
        const typed = word ? word.text.toLowerCase() : '';
        if (!context.explicit && typed.length < COMPLETE_AFTER) return null;
        const options = this.options(context.state, typed);
        // A whole name typed opens no list for it alone.
        if (!context.explicit && options.length === 1 && options[0].label.toLowerCase() === typed) return null;
        return options.length ? { from: word ? word.from : context.pos, options, filter: false } : null;
    }

    options(state, prefix) {
        const { outline } = state.field(outlineField);
        const seen = new Set();
        const options = [];
        const add = (label, type, detail, info) => {
            if (seen.has(label) || !label.toLowerCase().startsWith(prefix)) return;
            seen.add(label);
            options.push({ label, type, detail, info });
        };
        for (const b of this.builtins.values()) add(b.name, 'function', `(${b.arguments})`, b.description);
        for (const k of this.keywords) add(k, 'keyword');
        for (const f of outline.functions) add(f.name, 'function', `(${f.parameters.join(', ')})`);
        for (const n of outline.names) add(n, 'variable');
        return options.sort((a, b) => a.label.localeCompare(b.label));
    }
}
