// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas on screen: palette indices turned into colours, each shown as
// a whole number of the screen's own pixels, so every one stays a sharp
// square at any zoom.
import { SIZE, PIXELS } from './protocol.js';

// Room the axis labels and the timeline take beside and under the canvas.
const BESIDE = 40;
const UNDER = 100;

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

    // The largest whole number of screen pixels per canvas pixel that fits
    // beside the editor (on an upright screen: above it, beside the pause
    // panels), with the timeline under it; a fitted scale when not even one
    // fits, so the canvas is never cut off.
    fitScale() {
        const main = document.querySelector('main');
        const upright = matchMedia('(orientation: portrait)').matches;
        const width = upright ? main.clientWidth - 290 : main.clientWidth * 0.55;
        const height = (upright ? main.clientHeight * 0.6 : main.clientHeight) - UNDER;
        const room = Math.max(Math.min(width - BESIDE, height), SIZE / 4);
        const whole = Math.floor(room * devicePixelRatio / SIZE);
        const scale = whole >= 1 ? whole / devicePixelRatio : room / SIZE;
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
