// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's help, from the same text (bundled as help.txt): a topic
// starts with a line "= Title"; indented lines are code. The search field
// keeps the topics whose text holds every word typed, as the window's does.
function topics(text) {
    const found = [];
    for (const line of text.split(/\r?\n/)) {
        if (line.startsWith('= ')) found.push({ title: line.slice(2), lines: [] });
        else if (found.length) found[found.length - 1].lines.push(line);
    }
    return found;
}

function render(topic) {
    const section = document.createElement('section');
    const title = document.createElement('h2');
    title.textContent = topic.title;
    section.append(title);
    let block = null;
    for (const line of topic.lines) {
        const code = /^\s/.test(line) && line.trim() !== '';
        const tag = code ? 'PRE' : 'P';
        if (line.trim() === '' && !code) { block = null; continue; }
        if (!block || block.tagName !== tag) {
            block = document.createElement(tag);
            section.append(block);
            block.textContent = code ? line.slice(2) : line;
        } else {
            block.textContent += '\n' + (code ? line.slice(2) : line);
        }
    }
    section.dataset.words = (topic.title + '\n' + topic.lines.join('\n')).toLowerCase();
    return section;
}

// The bundle adds this topic last, from the package's copyright file.
export const ABOUT_TOPIC = 'About Korvane';

export class Help {
    constructor(dialog, search, body) {
        this.dialog = dialog;
        this.search = search;
        this.body = body;
        this.loaded = null;
        search.addEventListener('input', () => this.filter());
    }

    // Opens the help, at the topic of that title when one is given.
    async open(title) {
        this.loaded ??= fetch('help.txt').then((r) => r.text()).then((text) => {
            this.body.replaceChildren(...topics(text).map(render));
        });
        if (!this.dialog.open) this.dialog.showModal();
        await this.loaded.catch(() => { this.body.textContent = 'The help could not be loaded.'; });
        if (title) {
            this.search.value = '';
            this.filter();
            [...this.body.children].find((s) => s.firstChild?.textContent === title)?.scrollIntoView();
        }
        this.search.focus();
    }

    filter() {
        const words = this.search.value.toLowerCase().split(/\s+/).filter(Boolean);
        for (const section of this.body.children)
            section.hidden = !words.every((w) => section.dataset.words.includes(w));
    }
}
