// The page's status bar for a replay or a race, in the menu bar before the
// menus and outside the field (whose frames stay the game's own), as the
// game's caption gives it: REPLAY, its speed and whether it is paused, with
// buttons for the keys a touch screen lacks: slower (-), faster (+) and its
// end (Esc); or the race's lead ("RACE vs Bea +150"), with no buttons. The
// page's title shows the whole caption.
// SPDX-License-Identifier: MIT
const BUTTONS = [['\u2212', 45, 'Slower'], ['+', 43, 'Faster'], ['\u00d7', 27, 'End the replay']];
// What the game's caption is about (its mode): the plain title, a replay or (2) a race.
const [CAPTION_PLAIN, CAPTION_REPLAY] = [0, 1];

export class ReplayBar {
    // press(character) gives the game the key's character.
    constructor(bar, press) {
        this.watching = false;
        this.element = document.createElement('div');
        this.element.id = 'replay-bar';
        this.element.hidden = true;
        this.caption = document.createElement('span');
        this.caption.id = 'replay-caption';
        this.element.append(this.caption);
        this.buttons = BUTTONS.map(([label, character, name]) => {
            const button = document.createElement('button');
            button.type = 'button';
            button.textContent = label;
            button.setAttribute('aria-label', name);
            button.dataset.character = String(character);
            button.addEventListener('click', () => press(character));
            return button;
        });
        this.element.append(...this.buttons);
        bar.append(this.element);
    }

    show(caption, mode) {
        this.watching = mode === CAPTION_REPLAY;
        document.title = caption;
        const at = caption.lastIndexOf(' - ');
        this.caption.textContent = at < 0 ? caption : caption.slice(at + 3);
        this.element.hidden = mode === CAPTION_PLAIN;
        for (const button of this.buttons) button.hidden = !this.watching;
    }
}
