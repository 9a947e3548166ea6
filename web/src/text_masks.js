// Text for textout, drawn by the browser's font engine in the worker: the
// desktop's font (DejaVu Sans, shipped with the page), glyph pixels decided
// by a half-coverage threshold so no blended indices appear.
import { SIZE } from './protocol.js';

const FAMILY = 'DejaVu Sans';
// The desktop's default font size, in points, until textstyle sets one.
const DEFAULT_POINTS = 9;

// Points to pixels at 96 dots per inch, as the desktop rounds them.
function pixelsFor(points) {
    return Math.max(1, Math.round(points * 96 / 72));
}

export class TextMasks {
    async load(url) {
        const face = new FontFace(FAMILY, `url(${url})`);
        await face.load();
        self.fonts.add(face);
        this.canvas = new OffscreenCanvas(SIZE, SIZE);
        this.context = this.canvas.getContext('2d', { willReadFrequently: true });
    }

    // Sets mask (SIZE x SIZE, top row first) to 1 under every glyph pixel of
    // text whose cell's top-left corner is at (left, top). Families other
    // than the shipped one fall back to it, as the desktop falls back to its
    // default font.
    render(family, points, text, left, top, mask) {
        const cx = this.context;
        cx.clearRect(0, 0, SIZE, SIZE);
        cx.font = `${pixelsFor(points > 0 ? points : DEFAULT_POINTS)}px "${FAMILY}"`;
        cx.textBaseline = 'alphabetic';
        cx.fillStyle = '#000';
        const ascent = Math.ceil(cx.measureText(text).fontBoundingBoxAscent);
        cx.fillText(text, left, top + ascent);
        const alpha = cx.getImageData(0, 0, SIZE, SIZE).data;
        for (let i = 0; i < mask.length; i++) mask[i] = alpha[i * 4 + 3] >= 128 ? 1 : 0;
    }
}
