// The page's status bar for a replay, in the menu bar before the menus and
// outside the field (whose frames stay the game's own): REPLAY, its speed and
// whether it is paused, as the game's caption gives them, and buttons for the
// keys a touch screen lacks: slower (-), faster (+) and its end (Esc). The
// page's title shows the whole caption.
// SPDX-License-Identifier: MIT
const BUTTONS = [['\u2212', 45, 'Slower'], ['+', 43, 'Faster'], ['\u00d7', 27, 'End the replay']];

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
        for (const [label, character, name] of BUTTONS) {
            const button = document.createElement('button');
            button.type = 'button';
            button.textContent = label;
            button.setAttribute('aria-label', name);
            button.dataset.character = String(character);
            button.addEventListener('click', () => press(character));
            this.element.append(button);
        }
        bar.append(this.element);
    }

    show(caption, watching) {
        this.watching = watching;
        document.title = caption;
        const at = caption.lastIndexOf(' - ');
        this.caption.textContent = at < 0 ? caption : caption.slice(at + 3);
        this.element.hidden = !watching;
    }
}
