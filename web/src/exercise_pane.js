// SPDX-License-Identifier: GPL-3.0-or-later
// The student's side of an exercise: the Exercises menu (the course) and
// ?exercise=URL, the statement beside the editor, and Check, which lists
// each visible check as korvane-run --check words it. For a check that
// differs the canvas shows the run's canvas, the accepted picture or the
// differences, and a button runs that check's answers and seed and moves
// the timeline to the first call that drew wrong.
import { ExerciseClient } from './exercise_client.js';
import { renderMarkdown } from './exercise_markdown.js';

const $ = (id) => document.getElementById(id);
const VIEWS = ['Your canvas', 'Accepted picture', 'Differences'];

// page: {text, load(name, text) (resolves false when the user keeps the
// editor's program), setPalette(bytes), run(answers), showCall(k),
// programText(bytes), paint(pixels, palette), say(text), busy(on)}.
export class ExercisePane {
    constructor(page) {
        this.page = page;
        this.client = new ExerciseClient();
        this.exercise = null;   // {summary, files, url}
        this.checking = false;
        this.palette = null;    // the screen's palette before a check's picture was shown
        this.results = $('check-results');
        $('exercises').onchange = () => {
            const folder = $('exercises').value;
            $('exercises').value = '';
            const course = this.course?.find((c) => c.folder === folder);
            if (course) this.open(`course/${folder}/`, course.folder, course.files);
        };
        $('check').onclick = () => this.check();
        $('statement-close').onclick = () => this.close();
        addEventListener('keydown', (event) => {
            if (event.altKey && event.key.toLowerCase() === 'k' && !document.querySelector('dialog[open]')) {
                event.preventDefault();
                // As the button: not while a program runs.
                if (!$('check').disabled) this.check();
            }
        });
    }

    // The course's menu, then the exercise the address names, if any.
    async start() {
        try {
            this.course = await (await fetch('course/index.json')).json();
            for (const c of this.course) $('exercises').add(new Option(c.title, c.folder));
        } catch {
            this.course = [];   // the menu stays empty when the list cannot be had
        }
        const asked = new URLSearchParams(location.search).get('exercise');
        if (!asked) return;
        const url = new URL(asked, location.href);
        // A teacher publishes on the page's own host; another is not read.
        if (url.origin !== location.origin) return this.page.say(`Not opened: ${asked} is not on this page's host`);
        this.open(url.href, url.pathname.split('/').filter(Boolean).pop() ?? 'exercise');
    }

    async open(url, name, files = null) {
        this.page.say(`Opening ${name}…`);
        const opened = await this.client.open(url, name, files);
        if (opened.error) return this.page.say(`The exercise could not be opened: ${opened.error}`);
        const { summary } = opened;
        this.exercise = { ...opened, url: new URL(url.endsWith('/') ? url : url + '/', location.href) };
        $('statement-title').textContent = summary.title;
        const statement = opened.files[summary.statement];
        $('statement-text').replaceChildren(...(statement
            ? renderMarkdown(new TextDecoder().decode(statement), this.exercise.url.href) : []));
        this.results.replaceChildren();
        $('statement').hidden = false;
        $('check').disabled = false;
        this.page.setPalette(opened.files['palette.pal'] ?? null);
        const starter = opened.files[summary.starter];
        const text = starter ? await this.page.programText(starter) : '';
        const loaded = await this.page.load(summary.file || `${summary.title}.cg`, text);
        this.page.say(`Opened the exercise "${summary.title}"${loaded ? '' : ', the program in the editor kept'}`);
    }

    close() {
        this.exercise = null;
        $('statement').hidden = true;
        $('check').disabled = true;
    }

    // What Run answers from: the first visible check's answers and seed.
    answers(index = this.exercise?.summary.shown[0]) {
        if (index === undefined) return {};
        const check = this.exercise.summary.checks[index];
        const input = this.exercise.files[check.input];
        return { input: input ? new TextDecoder().decode(input) : '', seed: check.seed ?? undefined };
    }

    stop() {
        if (this.checking) this.client.stop();
    }

    async check() {
        if (!this.exercise || this.checking) return;
        this.checking = true;
        this.page.busy(true);
        this.results.replaceChildren();
        this.page.say('Checking…');
        const source = this.page.text();
        const done = await this.client.check(source, this.exercise.summary.shown, (m) => this.listCheck(m));
        if (done.forbidden) this.line(this.results, done.forbidden, 'check-line');
        this.checking = false;
        this.page.busy(false);
        this.page.say(done.stopped ? 'Check halted' : 'Checked');
    }

    line(parent, text, className) {
        const p = document.createElement('p');
        p.className = className;
        p.textContent = text;
        parent.append(p);
        return p;
    }

    listCheck({ index, result, views }) {
        const item = document.createElement('div');
        item.className = `check-result ${result.status === 'pass' ? 'pass' : 'fail'}`;
        const title = this.exercise.summary.checks[index].title;
        result.lines.forEach((text, i) => this.line(item, i ? text : `${title}: ${text}`, 'check-line'));
        if (result.hint) this.line(item, result.hint, 'check-hint');
        if (views) item.append(this.viewChoice(index, views), this.goButton(index, result));
        this.results.append(item);
    }

    // Your canvas, the accepted picture or the differences, on the canvas.
    viewChoice(index, views) {
        const group = document.createElement('fieldset');
        const legend = document.createElement('legend');
        legend.textContent = 'The canvas shows';
        group.append(legend);
        VIEWS.forEach((text, which) => {
            const label = document.createElement('label');
            const radio = document.createElement('input');
            radio.type = 'radio';
            radio.name = 'check-view';
            radio.onchange = () => {
                this.palette ??= this.page.palette().slice();
                this.page.paint(views[which].pixels, views[which].palette);
            };
            label.append(radio, ` ${text}`);
            group.append(label);
        });
        return group;
    }

    goButton(index, result) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = result.call > 0 ? `Run check ${index + 1} to call ${result.call}` : `Run check ${index + 1}`;
        button.onclick = async () => {
            if (await this.page.run(this.answers(index)) && result.call > 0) this.page.showCall(result.call);
        };
        return button;
    }

    // The screen's own palette again once a run or a timeline paints it.
    restoreScreen() {
        if (this.palette) this.page.paint(null, this.palette);
        this.palette = null;
        for (const radio of document.querySelectorAll('.check-result input[type=radio]')) radio.checked = false;
    }
}
