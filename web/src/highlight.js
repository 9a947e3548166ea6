// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's colours: the desktop editor's token rules (which are the
// interpreter's scanner's), line by line. Names ignore case, as the scanner
// lowers every word; a string has no escapes and ends at its closing quote
// or the line's end; a character is exactly one between quotes.
import { StreamLanguage, StringStream } from '@codemirror/language';
import { tags } from '@lezer/highlight';

// The style of each token: null (plain), comment, keyword, builtin, number,
// string or character.
function tokenRules(keywords, builtins) {
    const kw = new Set(keywords.map((k) => k.toLowerCase()));
    const bi = new Set(builtins.map((b) => b.toLowerCase()));
    return {
        startState: () => ({ comment: false }),
        token(stream, state) {
            if (state.comment || stream.match('/*')) {
                state.comment = !stream.skipTo('*/');
                if (state.comment) stream.skipToEnd(); else stream.match('*/');
                return 'comment';
            }
            if (stream.match('//')) { stream.skipToEnd(); return 'comment'; }
            if (stream.match(/^"[^"]*"?/)) return 'string';
            if (stream.match(/^'[^\r\n]'/)) return 'character';
            const word = stream.match(/^[A-Za-z0-9_]+/);
            if (word) {
                if (/^[0-9]/.test(word[0])) return 'number';
                const lower = word[0].toLowerCase();
                return kw.has(lower) ? 'keyword' : bi.has(lower) ? 'builtin' : null;
            }
            stream.next();
            return null;
        },
    };
}

export function programLanguage(keywords, builtins) {
    return StreamLanguage.define({
        ...tokenRules(keywords, builtins),
        tokenTable: { builtin: tags.standard(tags.variableName), character: tags.character },
    });
}

// The style of every character of text (newlines left out), for tests.
export function styleOf(text, keywords, builtins) {
    const rules = tokenRules(keywords, builtins);
    const state = rules.startState();
    const styles = [];
    for (const line of text.split('\n')) {
        const stream = new StringStream(line, 4, 2);
        while (!stream.eol()) {
            stream.start = stream.pos;
            const style = rules.token(stream, state);
            for (let i = stream.start; i < stream.pos; i++) styles.push(style);
        }
    }
    return styles;
}
