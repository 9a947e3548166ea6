// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas in words on request, as the desktop's View > Describe Canvas
// gives it (the core writes the text): the colours on the screen with their
// pixel counts and bounding boxes, then the last run's drawing calls. The
// text stands in a region of its own that takes the focus, so a screen
// reader reads it and the keys scroll it; it goes as soon as it could tell
// of another canvas (a run going on, another program, another palette). It
// is offered after a run and at a pause, never while a program runs.
const $ = (id) => document.getElementById(id);

export class CanvasDescription {
    // page.pixels(): the screen's palette indices; page.ran(): whether they
    // belong to the last run, whose calls are then listed.
    constructor(client, page) {
        this.client = client;
        this.page = page;
        this.button = $('describe');
        this.region = $('description');
        this.text = $('description-text');
        this.asked = 0;
        this.button.onclick = () => this.show();
        $('description-close').onclick = () => this.close();
        this.region.onkeydown = (event) => event.key === 'Escape' && this.close();
    }

    async show() {
        const asked = ++this.asked;
        const text = await this.client.describe(this.page.pixels().slice(), this.page.ran());
        // Something newer (a run, another program) came meanwhile, or the
        // paused run went on before it answered.
        if (asked !== this.asked || !text) return;
        this.text.textContent = text;
        this.region.hidden = false;
        this.region.focus();
    }

    close() {
        const had = this.region.contains(document.activeElement);
        this.forget();
        if (had) this.button.focus();
    }

    // What was described is no longer on the screen.
    forget() {
        this.asked++;
        this.region.hidden = true;
        this.text.textContent = '';
    }

    // Whether the canvas holds still: no program runs, or it is paused.
    setOffered(on) {
        this.button.disabled = !on;
        this.forget();
    }
}
