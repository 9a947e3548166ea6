// The program editor: CodeMirror 6 with the few extensions the page needs.
// Line numbers count from 0, as error reports do; keywords and built-ins
// come from the interpreter's own tables.
import { EditorState, StateEffect, StateField } from '@codemirror/state';
import { EditorView, Decoration, keymap, lineNumbers, highlightActiveLine } from '@codemirror/view';
import { defaultKeymap, history, historyKeymap, indentWithTab } from '@codemirror/commands';
import { StreamLanguage, syntaxHighlighting, HighlightStyle } from '@codemirror/language';
import { tags } from '@lezer/highlight';

// The language's tokens, as the interpreter's scanner sees them.
function cLike(keywords, builtins) {
    const kw = new Set(keywords);
    const bi = new Set(builtins);
    return StreamLanguage.define({
        startState: () => ({ comment: false }),
        token(stream, state) {
            if (state.comment) {
                if (stream.skipTo('*/')) { stream.match('*/'); state.comment = false; } else stream.skipToEnd();
                return 'comment';
            }
            if (stream.eatSpace()) return null;
            if (stream.match('/*')) { state.comment = true; return 'comment'; }
            if (stream.match('//')) { stream.skipToEnd(); return 'comment'; }
            if (stream.match(/^"([^"\\]|\\.)*"?/) || stream.match(/^'([^'\\]|\\.)*'?/)) return 'string';
            if (stream.match(/^\d+/)) return 'number';
            const word = stream.match(/^[A-Za-z_][A-Za-z0-9_]*/);
            if (word) return kw.has(word[0]) ? 'keyword' : bi.has(word[0]) ? 'variableName.standard' : 'variableName';
            stream.next();
            return null;
        },
    });
}

const style = HighlightStyle.define([
    { tag: tags.keyword, color: '#0000c0', fontWeight: 'bold' },
    { tag: tags.standard(tags.variableName), color: '#800080' },
    { tag: tags.comment, color: '#008000', fontStyle: 'italic' },
    { tag: tags.string, color: '#a31515' },
    { tag: tags.number, color: '#098658' },
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

export class Editor {
    constructor(parent, keywords, builtins, text) {
        this.error = lineMark('cm-error-line');
        this.trace = lineMark('cm-trace-line');
        this.view = new EditorView({
            parent,
            state: EditorState.create({
                doc: text,
                extensions: [
                    lineNumbers({ formatNumber: (n) => String(n - 1) }),
                    highlightActiveLine(),
                    history(),
                    keymap.of([...defaultKeymap, ...historyKeymap, indentWithTab]),
                    cLike(keywords, builtins),
                    syntaxHighlighting(style),
                    this.error.field,
                    this.trace.field,
                ],
            }),
        });
    }

    text() { return this.view.state.doc.toString(); }

    setText(text) {
        this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: text } });
    }

    // Appends lines at the end, each as a new last line, as print does.
    appendLines(lines) {
        const end = this.view.state.doc.length;
        const text = lines.join('\n');
        this.view.dispatch({ changes: { from: end, insert: end === 0 ? text : '\n' + text } });
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
