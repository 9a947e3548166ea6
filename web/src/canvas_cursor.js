// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas's keyboard cursor, so the inspector, the pixel history and the
// watches need no mouse: with the canvas focused the arrow keys move a marked
// pixel (Shift: 10 at a time), Enter lists its writes as a click does, and
// Shift+F10 or the menu key opens its menu as a right-click does.
import { SIZE } from './protocol.js';

const STEPS = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1] };

export class CanvasCursor {
    // actions: {moved(at), chosen(at), menu(at, pageX, pageY)}, at being {x, y}.
    constructor(canvas, actions) {
        this.canvas = canvas;
        this.actions = actions;
        this.at = { x: SIZE / 2, y: SIZE / 2 };
        this.mark = document.createElement('div');
        this.mark.className = 'canvas-cursor';
        this.mark.hidden = true;
        canvas.after(this.mark);
        canvas.addEventListener('focus', () => this.show());
        canvas.addEventListener('blur', () => { this.mark.hidden = true; });
        canvas.addEventListener('keydown', (event) => this.key(event));
        addEventListener('resize', () => this.place());
    }

    key(event) {
        const step = STEPS[event.key];
        if (step && !event.ctrlKey && !event.altKey) {
            const by = event.shiftKey ? 10 : 1;
            const clamp = (v) => Math.min(Math.max(v, 0), SIZE - 1);
            this.at = { x: clamp(this.at.x + step[0] * by), y: clamp(this.at.y + step[1] * by) };
            this.show();
        } else if (event.key === 'Enter' || event.key === ' ') {
            this.actions.chosen(this.at);
        } else if (event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey)) {
            const box = this.mark.getBoundingClientRect();
            this.actions.menu(this.at, box.right + scrollX, box.bottom + scrollY);
        } else {
            return;
        }
        event.preventDefault();
    }

    show() {
        this.mark.hidden = false;
        this.place();
        this.actions.moved(this.at);
    }

    // Over the pixel at its displayed size, wherever the canvas is laid out.
    place() {
        const scale = this.canvas.clientWidth / SIZE;
        const size = Math.max(scale, 1);
        Object.assign(this.mark.style, {
            left: `${this.canvas.offsetLeft + this.at.x * scale + (scale - size) / 2}px`,
            top: `${this.canvas.offsetTop + (SIZE - 1 - this.at.y) * scale + (scale - size) / 2}px`,
            width: `${size}px`, height: `${size}px`,
        });
    }
}
