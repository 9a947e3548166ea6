// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel watches, set from the inspector: a right-click on the canvas offers
// "Pause when this pixel changes" (checked for a watched pixel: choosing it
// again removes the watch), and the list under the inspector shows every
// watch with a button that removes it.
import { MAX_WATCHES } from './protocol.js';

export class PixelWatches {
    // changed([[x, y], ...]) is called with the whole list after each change;
    // refused(text) says why a watch was not added.
    constructor(canvasView, list, changed, refused) {
        this.view = canvasView;
        this.list = list;
        this.changed = changed;
        this.refused = refused;
        this.pixels = [];
        this.menu = document.createElement('div');
        this.menu.className = 'context-menu';
        this.menu.setAttribute('role', 'menu');
        this.menu.hidden = true;
        this.item = document.createElement('button');
        this.item.setAttribute('role', 'menuitemcheckbox');
        this.item.textContent = 'Pause when this pixel changes';
        this.menu.append(this.item);
        document.body.append(this.menu);
        canvasView.canvas.addEventListener('contextmenu', (event) => this.open(event));
        addEventListener('mousedown', (event) => { if (!this.menu.contains(event.target)) this.close(); });
        this.menu.addEventListener('keydown', (event) => { if (event.key === 'Escape') this.close(); });
        this.render();
    }

    watched(x, y) { return this.pixels.some(([wx, wy]) => wx === x && wy === y); }

    open(event) {
        const at = this.view.pointAt(event);
        if (!at) return;
        event.preventDefault();
        this.openAt(at, event.pageX, event.pageY);
    }

    // The menu for pixel at, its corner at (left, top) of the page.
    openAt(at, left, top) {
        const on = this.watched(at.x, at.y);
        this.item.setAttribute('aria-checked', String(on));
        this.item.title = `x ${at.x}  y ${at.y}`;
        this.item.onclick = () => {
            this.close();
            this.toggle(at.x, at.y);
        };
        Object.assign(this.menu.style, { left: `${left}px`, top: `${top}px` });
        this.returnTo = document.activeElement;
        this.menu.hidden = false;
        this.item.focus();
    }

    // Focus goes back where the menu was opened from (the canvas, by keys).
    close() {
        if (this.menu.hidden) return;
        this.menu.hidden = true;
        if (this.menu.contains(document.activeElement)) this.returnTo?.focus();
    }

    // Another file's watches, [[x, y], ...].
    set(pixels) {
        this.pixels = pixels;
        this.render();
        this.changed(this.pixels);
    }

    toggle(x, y) {
        if (this.watched(x, y)) {
            this.pixels = this.pixels.filter(([wx, wy]) => wx !== x || wy !== y);
        } else if (this.pixels.length >= MAX_WATCHES) {
            this.refused(`At most ${MAX_WATCHES} pixels can be watched at once.`);
            return;
        } else {
            this.pixels.push([x, y]);
        }
        this.render();
        this.changed(this.pixels);
    }

    render() {
        this.list.replaceChildren();
        if (!this.pixels.length) {
            this.list.append('Right-click a pixel (Shift+F10 at the canvas cursor) to pause when it changes.');
            return;
        }
        this.list.append('Pause when it changes:');
        for (const [x, y] of this.pixels) {
            const button = document.createElement('button');
            button.textContent = `(${x}, ${y}) ✕`;
            button.title = `Stop watching pixel x ${x}, y ${y}`;
            button.onclick = () => this.toggle(x, y);
            this.list.append(' ', button);
        }
    }
}
