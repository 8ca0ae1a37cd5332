// The game's letters, drawn with the canvas 2D API in the web fonts the site
// serves, one letter at a time, as a mask of solid pixels: the game lays them
// into its frame buffer itself.
// SPDX-License-Identifier: MIT

// The faces the game asks for, and the served faces that stand in for them.
const FACES = new Map([
    ['Arial', 'RuvoSans'],
    ['ＭＳ ゴシック', 'RuvoGothic'],
]);

// The letters each served face holds: the site's build cuts the faces down
// to the letters of the field's own texts, and writes them here.
const LETTERS = @FIELD_LETTERS@;

export function cssFace(requested) {
    return FACES.get(requested) ?? 'RuvoSans';
}

export class LetterPainter {
    constructor() {
        this.fonts = new Map();
        this.sized = new Map(); // "height weight face" -> { css, cell, baseline, family }
        this.canvas = document.createElement('canvas');
        this.context = this.canvas.getContext('2d', { willReadFrequently: true });
    }

    // A font the game will ask for as it starts, sized as soon as its face
    // has loaded, in a task of the page's own while the game's module is
    // still on its way: the sizing measures the face at several sizes, and
    // the first text measured, drawn and read back in a face costs the
    // browser far more than any after it.
    sizeAhead({ height, weight, face }) {
        const { css } = this.size(height, weight, face);
        this.context.font = css;
        this.context.fillText('R', 0, 0);
        this.context.getImageData(0, 0, 1, 1);
    }

    // The CSS font that a font load waits for.
    loadingFont({ height, weight, face }) {
        return this.cssFont(Math.abs(height) || 16, weight, cssFace(face));
    }

    cssFont(size, weight, family) {
        return `${weight} ${size}px ${family}`;
    }

    // Whole-pixel ascent and descent, as the font's metrics round them.
    metrics(css) {
        this.context.font = css;
        const m = this.context.measureText('Hg');
        return { ascent: Math.round(m.fontBoundingBoxAscent), descent: Math.round(m.fontBoundingBoxDescent) };
    }

    // A positive height is the whole character cell. Sizes step by whole
    // pixels: take the tallest cell not taller than asked, and of the sizes
    // that give it the smallest, whose letters stay narrowest. The same
    // request always gives the same font: it is sized once.
    size(height, weight, face) {
        const key = `${height} ${weight} ${face}`;
        let font = this.sized.get(key);
        if (font) return font;
        const family = cssFace(face);
        const boldness = weight > 0 ? Math.min(Math.max(weight, 100), 900) : 400;
        if (height > 0) {
            let best = 1;
            let bestHeight = 0;
            for (let size = height; size >= 1; --size) {
                const m = this.metrics(this.cssFont(size, boldness, family));
                const cell = m.ascent + m.descent;
                if (cell > height) continue;
                if (bestHeight !== 0 && cell < bestHeight) break;
                bestHeight = cell;
                best = size;
            }
            const css = this.cssFont(best, boldness, family);
            // Whatever the cell has to spare goes above the letters.
            font = { css, cell: height, baseline: height - this.metrics(css).descent };
        } else {
            const css = this.cssFont(height < 0 ? -height : 16, boldness, family);
            const m = this.metrics(css);
            font = { css, cell: m.ascent + m.descent, baseline: m.ascent };
        }
        font.family = family;
        this.sized.set(key, font);
        return font;
    }

    // A font of a given cell height (all the game's are) is sized when its
    // first letter is drawn, so that the game can start while the faces are
    // still on their way; the page draws no letter before they are in.
    createFont(id, height, weight, face) {
        const request = { height, weight, face };
        const font = { request, sized: height > 0 ? null : this.size(height, weight, face), reported: new Set() };
        this.fonts.set(id, font);
        return height > 0 ? height : font.sized.cell;
    }

    // Fills mask (width x height) with 1 where the letter has ink, its cell's
    // top-left at (pad, pad); returns its advance.
    drawLetter(id, codePoint, mask, width, height, pad) {
        const entry = this.fonts.get(id);
        mask.fill(0);
        if (!entry) return 0;
        if (!entry.sized) {
            const { height, weight, face } = entry.request;
            entry.sized = this.size(height, weight, face);
        }
        const font = entry.sized;
        const letters = LETTERS[font.family] ?? '';
        if (this.canvas.width < width || this.canvas.height < height) {
            this.canvas.width = Math.max(this.canvas.width, width);
            this.canvas.height = Math.max(this.canvas.height, height);
        }
        const c = this.context;
        const letter = String.fromCodePoint(codePoint);
        if (!letters.includes(letter) && !entry.reported.has(letter)) {
            // A new text of the game's whose letter the cut-down face lacks.
            entry.reported.add(letter);
            console.error(`Ruvo: the letter "${letter}" is not in the served ${font.family}`);
        }
        c.clearRect(0, 0, width, height);
        c.font = font.css;
        c.textBaseline = 'alphabetic';
        c.fillStyle = '#fff';
        c.fillText(letter, pad, pad + font.baseline);
        const advance = Math.round(c.measureText(letter).width);
        const pixels = c.getImageData(0, 0, width, height).data;
        // Solid letters: a pixel is ink when the letter covers at least half of it.
        for (let i = 0; i < width * height; ++i) mask[i] = pixels[i * 4 + 3] >= 128 ? 1 : 0;
        return advance;
    }
}
