// Text for textout, drawn by the browser's font engine in the worker: the
// desktop's font (DejaVu Sans, shipped with the page), glyph pixels decided
// by a half-coverage threshold so no blended indices appear.
import { SIZE } from './protocol.js';

// The families the desktop finds installed (Debian's fonts-dejavu-core), by
// file; the first is the default and stands in for any other name.
export const FONTS = [['DejaVu Sans', 'DejaVuSans.ttf'], ['DejaVu Serif', 'DejaVuSerif.ttf'],
                      ['DejaVu Sans Mono', 'DejaVuSansMono.ttf']];
const DEFAULT_FAMILY = FONTS[0][0];
// The desktop's default font size, in points, until textstyle sets one.
const DEFAULT_POINTS = 9;

// Points to pixels at 96 dots per inch, as the desktop rounds them.
function pixelsFor(points) {
    return Math.max(1, Math.round(points * 96 / 72));
}

export class TextMasks {
    async load(base) {
        await Promise.all(FONTS.map(async ([family, file]) => {
            const face = new FontFace(family, `url(${new URL(file, base)})`);
            self.fonts.add(await face.load());
        }));
        this.families = new Set(FONTS.map(([family]) => family));
        this.canvas = new OffscreenCanvas(SIZE, SIZE);
        this.context = this.canvas.getContext('2d', { willReadFrequently: true });
    }

    // Sets mask (SIZE x SIZE, top row first) to 1 under every glyph pixel of
    // text whose cell's top-left corner is at (left, top). Other families
    // fall back to the default, as on the desktop.
    render(family, points, text, left, top, mask) {
        const cx = this.context;
        cx.clearRect(0, 0, SIZE, SIZE);
        const known = this.families.has(family) ? family : DEFAULT_FAMILY;
        cx.font = `${pixelsFor(points > 0 ? points : DEFAULT_POINTS)}px "${known}"`;
        cx.textBaseline = 'alphabetic';
        cx.fillStyle = '#000';
        const ascent = Math.ceil(cx.measureText(text).fontBoundingBoxAscent);
        // Half a pixel to the left: measured against the desktop's hinted
        // glyphs, it matches their placement best.
        cx.fillText(text, left - 0.5, top + ascent);
        const alpha = cx.getImageData(0, 0, SIZE, SIZE).data;
        for (let i = 0; i < mask.length; i++) mask[i] = alpha[i * 4 + 3] >= 128 ? 1 : 0;
    }
}
