// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas on screen: palette indices turned into colours, drawn at an
// integer scale so every palette pixel stays a sharp square.
import { SIZE, PIXELS } from './protocol.js';

export class CanvasView {
    constructor(canvas) {
        this.canvas = canvas;
        this.context = canvas.getContext('2d', { alpha: false });
        this.image = this.context.createImageData(SIZE, SIZE);
        this.words = new Uint32Array(this.image.data.buffer);
        this.colours = new Uint32Array(256);
        this.indices = new Uint8Array(PIXELS);  // what the screen shows, bottom row first
        this.fitScale();
        addEventListener('resize', () => this.fitScale());
    }

    // Palette file layout: red, green, blue, unused per entry.
    setPalette(bytes) {
        for (let i = 0; i < 256; i++)
            this.colours[i] = 0xff000000 | (bytes[i * 4 + 2] << 16) | (bytes[i * 4 + 1] << 8) | bytes[i * 4];
        this.palette = bytes.slice(0, 1024);
        this.paint(this.indices);
    }

    // Largest whole scale that fits beside the editor, with the timeline
    // and the inspector under it.
    fitScale() {
        const room = Math.min(innerWidth * 0.55, innerHeight - 210);
        const scale = Math.max(1, Math.floor(room / SIZE));
        document.documentElement.style.setProperty('--scale', String(scale));
    }

    // Copies indices (bottom row first) to the screen.
    paint(indices) {
        if (indices !== this.indices) this.indices.set(indices);
        const words = this.words;
        const colours = this.colours;
        for (let y = 0; y < SIZE; y++) {
            const from = (SIZE - 1 - y) * SIZE;
            const to = y * SIZE;
            for (let x = 0; x < SIZE; x++) words[to + x] = colours[indices[from + x]];
        }
        this.context.putImageData(this.image, 0, 0);
    }

    // The program coordinates under a mouse event, or null off the canvas.
    pointAt(event) {
        const box = this.canvas.getBoundingClientRect();
        const x = Math.floor((event.clientX - box.left) * SIZE / box.width);
        const y = SIZE - 1 - Math.floor((event.clientY - box.top) * SIZE / box.height);
        return x >= 0 && x < SIZE && y >= 0 && y < SIZE ? { x, y } : null;
    }

    indexAt(x, y) { return this.indices[y * SIZE + x]; }

    colourAt(index) {
        const p = this.palette;
        return [p[index * 4], p[index * 4 + 1], p[index * 4 + 2]];
    }
}
