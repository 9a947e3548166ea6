// SPDX-License-Identifier: GPL-3.0-or-later
// An exercise's statement in simple Markdown, built as elements with their
// text set as text: nothing in a statement is ever read as HTML. Headings,
// paragraphs, lists, indented or fenced code, `code`, *emphasis*,
// **strong**, links and pictures of the exercise's folder.
const INLINE = /(!?)\[([^\]]*)\]\(([^)\s]+)\)|`([^`]+)`|\*\*([^*]+)\*\*|\*([^*]+)\*|_([^_]+)_/g;

// Only addresses of the web or relative ones: never a script.
function safeUrl(href, base) {
    try {
        const url = new URL(href, base);
        return /^https?:$/.test(url.protocol) ? url.href : null;
    } catch {
        return null;
    }
}

function inline(parent, text, base) {
    let at = 0;
    for (const m of text.matchAll(INLINE)) {
        parent.append(text.slice(at, m.index));
        at = m.index + m[0].length;
        let node;
        if (m[3] !== undefined) {
            const url = safeUrl(m[3], base);
            if (m[1]) {
                node = document.createElement('img');
                node.alt = m[2];
                if (url) node.src = url;
            } else {
                node = document.createElement('a');
                node.textContent = m[2];
                if (url) node.href = url;
            }
        } else {
            node = document.createElement(m[4] !== undefined ? 'code' : m[5] !== undefined ? 'strong' : 'em');
            node.textContent = m[4] ?? m[5] ?? m[6] ?? m[7];
        }
        parent.append(node);
    }
    parent.append(text.slice(at));
}

// The statement's elements; base: the folder's address, for its pictures.
export function renderMarkdown(text, base) {
    const out = [];
    const lines = text.replace(/\r\n?/g, '\n').split('\n');
    const add = (tag, content) => {
        const node = document.createElement(tag);
        if (content !== undefined) inline(node, content, base);
        out.push(node);
        return node;
    };
    for (let i = 0; i < lines.length;) {
        const line = lines[i];
        const heading = /^(#{1,6})\s+(.*)$/.exec(line);
        const item = /^\s*(?:[-*+]|\d+\.)\s+(.*)$/.exec(line);
        if (!line.trim()) {
            i++;
        } else if (heading) {
            add(`h${Math.min(6, heading[1].length + 1)}`, heading[2]);
            i++;
        } else if (line.startsWith('```')) {
            const code = [];
            for (i++; i < lines.length && !lines[i].startsWith('```'); i++) code.push(lines[i]);
            i++;
            add('pre').textContent = code.join('\n');
        } else if (/^( {4}|\t)/.test(line)) {
            const code = [];
            for (; i < lines.length && (/^( {4}|\t)/.test(lines[i]) || !lines[i].trim()); i++)
                code.push(lines[i].replace(/^( {4}|\t)/, ''));
            while (code.length && !code[code.length - 1].trim()) code.pop();
            add('pre').textContent = code.join('\n');
        } else if (item) {
            const list = add(/^\s*\d/.test(line) ? 'ol' : 'ul');
            for (let m; i < lines.length && (m = /^\s*(?:[-*+]|\d+\.)\s+(.*)$/.exec(lines[i])); i++) {
                const li = document.createElement('li');
                inline(li, m[1], base);
                list.append(li);
            }
        } else {
            const paragraph = [];
            for (; i < lines.length && lines[i].trim() && !/^(#|```|( {4}|\t)|\s*([-*+]|\d+\.)\s)/.test(lines[i]); i++)
                paragraph.push(lines[i].trim());
            add('p', paragraph.join(' '));
        }
    }
    return out;
}
