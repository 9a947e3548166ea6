// SPDX-License-Identifier: GPL-3.0-or-later
// The Call Stack and Variables panels of a pause, over the pause as the
// core gives it (korvane-run --pauses's JSON): the calls innermost first,
// and the globals with the chosen call's parameters and locals. A value that
// differs from the same variable's at the previous pause is marked.

function cell(row, text, className = '') {
    const td = row.insertCell();
    td.textContent = text;
    td.className = className;
    return td;
}

export class PausePanels {
    constructor(aside) {
        this.aside = aside;
        this.calls = this.table('Call Stack', ['Function', 'Called from line', 'Depth']);
        this.calls.classList.add('call-stack');
        this.variables = this.table('Variables', ['Name', 'Value']);
        this.variables.classList.add('variables');
        this.at = null;        // the pause shown
        this.before = null;    // the pause before it in this run
        this.chosen = 0;       // the call whose locals show, 0: the innermost
    }

    table(title, headings) {
        const section = document.createElement('section');
        const h = document.createElement('h2');
        h.textContent = title;
        const table = document.createElement('table');
        const head = table.createTHead().insertRow();
        for (const text of headings) head.append(Object.assign(document.createElement('th'), { textContent: text }));
        table.createTBody();
        section.append(h, table);
        this.aside.append(section);
        return table;
    }

    // A new run or another program: nothing shown, nothing to compare with.
    clear() {
        this.at = this.before = null;
        for (const table of [this.calls, this.variables]) table.tBodies[0].replaceChildren();
    }

    show(pause) {
        this.before = this.at;
        this.at = pause;
        this.chosen = 0;
        this.render();
    }

    choose(call) {
        this.chosen = call;
        this.render();
    }

    render() {
        const { calls, depth } = this.at;
        const body = this.calls.tBodies[0];
        body.replaceChildren();
        calls.forEach((call, i) => {
            const row = body.insertRow();
            row.tabIndex = 0;
            row.setAttribute('aria-selected', String(i === this.chosen));
            cell(row, call.function);
            cell(row, call.called_from < 0 ? '' : String(call.called_from));
            cell(row, String(depth - i));
            row.onclick = () => this.choose(i);
            row.onkeydown = (event) => { if (event.key === 'Enter' || event.key === ' ') this.choose(i); };
        });
        const values = this.variables.tBodies[0];
        values.replaceChildren();
        this.group(values, 'Globals', this.at.globals, this.before?.globals);
        const call = calls[this.chosen];
        if (call) this.group(values, `Locals of ${call.function} (depth ${depth - this.chosen})`, call.locals, this.localsBefore());
    }

    group(body, title, values, before) {
        const head = body.insertRow();
        head.className = 'group';
        cell(head, title).colSpan = 2;
        for (const [name, value] of Object.entries(values)) {
            const row = body.insertRow();
            const changed = before !== undefined && Object.hasOwn(before, name) && before[name] !== value;
            cell(row, name);
            cell(row, changed ? `${value} *` : String(value), changed ? 'changed' : '');
            if (changed) row.title = 'Changed since the previous pause';
        }
    }

    // The chosen call at the previous pause: as far from main, the same function.
    localsBefore() {
        if (!this.before) return undefined;
        const fromMain = this.at.calls.length - 1 - this.chosen;
        const then = this.before.calls[this.before.calls.length - 1 - fromMain];
        return then && then.function === this.at.calls[this.chosen].function ? then.locals : undefined;
    }
}
