// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's text, kept in the browser as it is typed so nothing is lost
// on a reload: per tab in session storage (restored on reload), and the
// newest of any tab in local storage, where a new tab starts from.
const TAB = 'korvane.text';
const TYPED = 'korvane.typed';   // '1': the tab's text has edits typed since it was loaded
const LAST = 'korvane.program';
const DELAY_MS = 150;   // typing writes at most this often

export class TextStore {
    constructor() {
        this.pending = null;
        this.timer = 0;
        addEventListener('pagehide', () => this.flush());
    }

    // This tab's text from before the reload, or null.
    tabText() { return sessionStorage.getItem(TAB); }

    // Whether the tab's text holds typed work, not only a loaded program.
    typed() { return sessionStorage.getItem(TYPED) === '1'; }

    // What a tab without its own text starts with, or null.
    lastText() { return localStorage.getItem(LAST); }

    // doc: anything whose toString() is the text, read when it is written;
    // how: as Editor reports it, or 'restored' (the tab's own text again).
    keep(doc, how) {
        if (how !== 'restored') sessionStorage.setItem(TYPED, how === 'typed' ? '1' : '0');
        this.pending = doc;
        if (!this.timer) this.timer = setTimeout(() => this.flush(), DELAY_MS);
    }

    flush() {
        clearTimeout(this.timer);
        this.timer = 0;
        if (this.pending === null) return;
        const text = this.pending.toString();
        for (const [storage, key] of [[sessionStorage, TAB], [localStorage, LAST]]) {
            try {
                storage.setItem(key, text);
            } catch {
                // Full storage keeps the previous text rather than none.
            }
        }
        this.pending = null;
    }
}
