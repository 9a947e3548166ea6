// SPDX-License-Identifier: GPL-3.0-or-later
// The timeline under the canvas, as the window has it. After a run and at
// a pause its slider spans the run's drawing calls 0..N (so far) and shows
// the canvas as it was after call k, with the call's built-in, argument
// values and line (marked in the editor); Play replays the calls at a
// chosen speed. A click on the canvas lists every write of that pixel;
// choosing one moves the slider there. The worker seeks, and the newest
// slider position wins.
import * as P from './protocol.js';

// Calls per second that Play offers, and how often it moves the slider.
const SPEEDS = [1, 10, 100, 1000, 10000, 100000];
const TICK_MS = 40;

const $ = (id) => document.getElementById(id);

function writeText(w) { return `call ${w.call}, line ${w.line}: ${w.builtin}, colour ${w.colour}`; }

export class TimelineBar {
    // page.save(blob, name) downloads a file; page.say(text) tells the user.
    constructor(client, view, editor, page) {
        this.client = client;
        this.view = view;
        this.editor = editor;
        this.page = page;
        this.slider = $('timeline-slider');
        this.play = $('timeline-play');
        this.speed = $('timeline-speed');
        this.position = $('timeline-at');
        this.callText = $('timeline-call');
        this.list = $('pixel-history');
        this.gif = $('timeline-gif');
        this.timeline = null;   // {calls, first, line, call} of the last run; null while one runs
        this.final = null;      // the last run's final canvas
        this.atEnd = null;      // what the screen showed when the run ended
        this.shownSerial = 0;   // the newest seek on the screen
        this.shownCall = null;  // its call; null: the screen is as the run left it
        this.asked = 0;         // the newest pixel history asked for
        this.player = 0;
        for (const cps of SPEEDS) this.speed.add(new Option(`${cps} calls/s`, String(cps)));
        this.speed.selectedIndex = 2;
        this.slider.oninput = () => this.moved();
        this.slider.onkeydown = (event) => this.pageKey(event);
        this.play.onclick = () => this.setPlaying(!this.player);
        this.speed.onchange = () => this.player && this.setPlaying(true);
        this.list.onchange = () => this.list.value && this.showCall(Number(this.list.value));
        this.gif.onclick = () => this.askGif();
        $('gif-range').addEventListener('close', () => $('gif-range').returnValue === 'ok' && this.recordGif());
        this.set(null);
    }

    // The timeline of the run that just ended or paused, at its last call,
    // with the screen left as the run left it; null disables the bar while a
    // run goes on. Either way the screen first gets back what the run left.
    // A GIF is cut from a run that has ended only.
    set(timeline, final = null, paused = false) {
        this.setPlaying(false);
        if (this.atEnd) this.view.paint(this.atEnd);
        if (!timeline) this.editor.markTrace(-1);
        this.timeline = timeline;
        this.final = final;
        this.atEnd = timeline ? this.view.indices.slice() : null;
        this.shownCall = null;
        this.asked++;
        this.list.hidden = true;
        this.list.replaceChildren();
        this.slider.disabled = this.play.disabled = !timeline;
        this.gif.disabled = !timeline || paused;
        this.slider.max = timeline ? String(timeline.calls - timeline.first) : '0';
        this.slider.value = this.slider.max;
        this.label(this.call(), timeline?.line, timeline?.call);
    }

    // The call the slider is at.
    call() { return this.timeline ? this.timeline.first + Number(this.slider.value) : 0; }

    // Moves the slider to call k (clamped) and shows that canvas.
    showCall(k) {
        if (!this.timeline) return;
        const { first, calls } = this.timeline;
        this.slider.value = String(Math.min(Math.max(k, first), calls) - first);
        this.moved();
    }

    moved() {
        this.label(this.call());
        this.client.seek(this.call());
    }

    // Page Up and Page Down move by 1% of the calls.
    pageKey(event) {
        if (event.key !== 'PageUp' && event.key !== 'PageDown') return;
        event.preventDefault();
        const page = Math.max(1, Math.floor(Number(this.slider.max) / 100));
        this.showCall(this.call() + (event.key === 'PageUp' ? page : -page));
    }

    // "k / N", and call k's line and text once the worker has told them.
    label(k, line, call) {
        const t = this.timeline;
        if (!t) {
            this.position.textContent = '0 / 0';
            this.callText.textContent = 'The timeline of the calls appears after a run.';
            return;
        }
        // Past its memory the timeline holds the run's last part only.
        this.position.textContent = t.first > 0 ? `${k} / ${t.calls} (kept from ${t.first})` : `${k} / ${t.calls}`;
        if (line === undefined) return;
        let text = 'Before the first drawing call';
        if (k > t.first) text = `line ${line}: ${call}`;
        else if (t.first > 0) text = `Before call ${k + 1}: the run made more calls than the timeline can hold`;
        this.callText.textContent = text;
    }

    // The worker's answer to a seek, unless a newer one is on the screen.
    shown(m) {
        if (!this.timeline || m.serial <= this.shownSerial) return;
        this.shownSerial = m.serial;
        this.shownCall = m.k;
        this.view.paint(m.pixels);
        this.editor.markTrace(m.line);
        this.label(m.k, m.line, m.call);
    }

    setPlaying(on) {
        clearInterval(this.player);
        this.player = 0;
        if (on && this.timeline) {
            if (this.slider.value === this.slider.max) this.showCall(0);
            const cps = Number(this.speed.value);
            const interval = Math.max(TICK_MS, 1000 / cps);
            const step = Math.max(1, Math.round(cps * interval / 1000));
            this.player = setInterval(() => {
                this.showCall(this.call() + step);
                if (this.slider.value === this.slider.max) this.setPlaying(false);
            }, interval);
        }
        this.play.textContent = this.player ? 'Pause' : 'Play';
    }

    // Lists the writes of pixel (x, y): the first and last HISTORY_ENDS, with
    // the count of those between. A long run's history takes a while; a
    // newer click or run makes its answer stale.
    async history(x, y) {
        if (!this.timeline) return;
        const asked = ++this.asked;
        this.list.hidden = false;
        this.list.replaceChildren(new Option(`Pixel (${x}, ${y}): finding its writes…`, ''));
        const { writes, count } = await this.client.history(x, y);
        if (asked !== this.asked) return;
        const options = writes.map((w) => new Option(writeText(w), String(w.call)));
        if (count > 2 * P.HISTORY_ENDS)
            options.splice(P.HISTORY_ENDS, 0, new Option(`... ${count - 2 * P.HISTORY_ENDS} more writes ...`, ''));
        if (count === 0) options.push(new Option(`Pixel (${x}, ${y}): no call of this run wrote it`, ''));
        this.list.replaceChildren(...options);
    }

    // Asks for the range, from the first call kept to the last.
    askGif() {
        const { first, calls } = this.timeline;
        for (const id of ['gif-from', 'gif-to']) Object.assign($(id), { min: first, max: calls });
        $('gif-from').value = first;
        $('gif-to').value = calls;
        $('gif-range').returnValue = '';
        $('gif-range').showModal();
    }

    async recordGif() {
        const [from, to, every] = ['gif-from', 'gif-to', 'gif-every'].map((id) => Number($(id).value));
        if (!this.timeline) return;
        if (from > to) {
            this.page.say('The GIF\'s first call comes after its last: nothing was recorded');
            return;
        }
        this.gif.disabled = true;
        this.page.say(`Recording a GIF of calls ${from} to ${to}…`);
        const made = await this.client.gif(from, to, every);
        this.gif.disabled = !this.timeline;
        if (!made.blob) return this.page.say('The GIF was not recorded');
        this.page.save(made.blob, 'korvane-timeline.gif');
        this.page.say(made.left ? `The GIF holds its first ${made.frames} frames; ${made.left} more were left out` : 'GIF recorded');
    }

    // Whether the screen's pixel is the one the last run left there, so the
    // inspector may name the call that drew it.
    agrees(x, y) { return !this.final || this.final[y * P.SIZE + x] === this.view.indexAt(x, y); }
}
