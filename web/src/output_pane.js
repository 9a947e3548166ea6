// SPDX-License-Identifier: GPL-3.0-or-later
// The Output pane under the editor, as on the desktop: what the program
// prints, emptied by each Run, never typed into. It keeps the newest
// OUTPUT_KEPT lines of a run, so a program that prints for ever costs
// bounded memory; and it lays out only the lines in view (one line is one
// fixed-height row), so adding thousands of lines a frame stays cheap.
// Ctrl+A then Ctrl+C in the pane copies every kept line.
import { OUTPUT_KEPT } from './protocol.js';

export class OutputPane {
    constructor(element) {
        this.element = element;
        this.sizer = document.createElement('div');   // as tall as all the lines
        this.view = document.createElement('pre');    // the lines in view
        this.sizer.className = 'output-sizer';
        this.view.className = 'output-view';
        this.sizer.append(this.view);
        element.append(this.sizer);
        this.lines = [];
        this.pending = false;
        this.allSelected = false;   // Ctrl+A in the pane: a copy takes every kept line
        element.addEventListener('scroll', () => this.renderSoon());
        element.addEventListener('keydown', (event) => {
            if ((event.ctrlKey || event.metaKey) && event.key.toLowerCase() === 'a') {
                event.preventDefault();
                this.selectAll(true);
            }
        });
        element.addEventListener('mousedown', () => this.selectAll(false));
        element.addEventListener('blur', () => this.selectAll(false));
        element.addEventListener('copy', (event) => {
            if (!this.allSelected) return;   // a mouse selection copies as usual
            event.clipboardData.setData('text/plain', this.text());
            event.preventDefault();
        });
        addEventListener('resize', () => this.renderSoon());
    }

    selectAll(on) {
        this.allSelected = on;
        this.element.classList.toggle('all', on);
    }

    clear() {
        this.selectAll(false);
        this.lines = [];
        this.render();
    }

    // Adds lines at the end, keeping the pane scrolled to the end if it was;
    // returns how many older lines were taken out.
    append(lines) {
        const atEnd = this.element.scrollTop + this.element.clientHeight >= this.element.scrollHeight - 2;
        this.lines.push(...lines.slice(-OUTPUT_KEPT));
        const over = this.lines.length - OUTPUT_KEPT;
        if (over > 0) this.lines.splice(0, over);
        this.render();
        if (atEnd) this.element.scrollTop = this.element.scrollHeight;
        this.render();
        return Math.max(0, over) + Math.max(0, lines.length - OUTPUT_KEPT);
    }

    text() { return this.lines.join('\n'); }

    renderSoon() {
        if (this.pending) return;
        this.pending = true;
        requestAnimationFrame(() => {
            this.pending = false;
            this.render();
        });
    }

    render() {
        this.element.classList.toggle('empty', this.lines.length === 0);
        const row = parseFloat(getComputedStyle(this.view).lineHeight) || 16;
        this.sizer.style.height = `${this.lines.length * row}px`;
        const first = Math.max(0, Math.floor(this.element.scrollTop / row));
        const count = Math.ceil(this.element.clientHeight / row) + 1;
        this.view.style.top = `${first * row}px`;
        this.view.textContent = this.lines.slice(first, first + count).join('\n');
    }
}
