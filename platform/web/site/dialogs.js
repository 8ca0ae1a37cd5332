// The game's modal dialogs as HTML <dialog> elements, laid out in pixels by
// the game from its templates. However the player answers - a button, Enter,
// Escape - the answer is one command id; the game decides whether the dialog
// closes. Dialogs stack: only the newest one takes input. The page shows
// notes of its own over them, which close by themselves.
// SPDX-License-Identifier: MIT
import { CONTROL_KIND, CONTROL_STYLE, DIALOG_ANSWER, DIALOG_FONT_PIXELS } from './tables.js';

const { TEXT: KIND_TEXT, ICON: KIND_ICON, EDIT: KIND_EDIT } = CONTROL_KIND;
const { CENTRED, RIGHT_ALIGNED, CENTRED_VERTICALLY, SUNKEN, DEFAULT_BUTTON } = CONTROL_STYLE;
const { OK, CANCEL } = DIALOG_ANSWER;

// The page's own font: a name may hold any letter, which the browser finds a
// face for (the field's served fonts hold only the letters of its own texts).
export const DIALOG_FONT = `${DIALOG_FONT_PIXELS}px sans-serif`;

export class DialogStack {
    // field: the element the dialogs are placed relative to.
    constructor(field) {
        this.field = field;
        this.stack = [];
        this.measure = document.createElement('canvas').getContext('2d');
        // An on-screen keyboard shrinks what can be seen of the page: the open
        // dialogs move up so that their buttons stay within reach.
        const placeAll = () => this.stack.filter((d) => d.element.isConnected).forEach((d) => this.place(d));
        window.addEventListener('resize', placeAll);
        window.visualViewport?.addEventListener('resize', placeAll);
        window.visualViewport?.addEventListener('scroll', placeAll);
    }

    get open() {
        return this.stack.length > 0;
    }

    textWidth(text) {
        this.measure.font = DIALOG_FONT;
        return Math.round(this.measure.measureText(text).width);
    }

    lineHeight() {
        this.measure.font = DIALOG_FONT;
        const m = this.measure.measureText('Hg');
        return Math.round(m.fontBoundingBoxAscent) + Math.round(m.fontBoundingBoxDescent);
    }

    begin(title, x, y, width, height, page = false) {
        const element = document.createElement('dialog');
        element.className = 'ruvo-dialog';
        const caption = document.createElement('div');
        caption.className = 'caption';
        const captionText = document.createElement('span');
        captionText.textContent = title;
        // The close box answers as Escape does.
        const close = document.createElement('button');
        close.type = 'button';
        close.className = 'close';
        close.tabIndex = -1;
        close.setAttribute('aria-label', 'Close');
        close.textContent = '\u00d7';
        caption.append(captionText, close);
        const client = document.createElement('div');
        client.className = 'client';
        client.style.width = `${width}px`;
        client.style.height = `${height}px`;
        element.append(caption, client);
        const dialog = { element, client, controls: new Map(), commands: [], waiting: null, offset: { x, y }, icon: null,
            page };
        close.addEventListener('pointerdown', (event) => event.preventDefault()); // the focus stays where it was
        close.addEventListener('click', () => this.command(dialog, CANCEL));
        element.addEventListener('cancel', (event) => {
            event.preventDefault();
            this.command(dialog, CANCEL);
        });
        element.addEventListener('keydown', (event) => {
            if (event.key !== 'Enter' || event.shiftKey || event.ctrlKey || event.altKey || event.metaKey) return;
            // Enter on a link below the dialog follows it.
            if (document.activeElement instanceof HTMLAnchorElement) return;
            event.preventDefault();
            // Enter presses the button that has the focus; anywhere else it means OK.
            const focused = document.activeElement;
            if (focused instanceof HTMLButtonElement && element.contains(focused) && focused.dataset.id) focused.click();
            else this.command(dialog, OK);
        });
        this.stack.push(dialog);
    }

    control(kind, id, text, x, y, width, height, style) {
        const dialog = this.top();
        let element;
        switch (kind) {
        case KIND_TEXT:
            element = document.createElement('div');
            element.className = 'text';
            element.textContent = text;
            if (style & CENTRED) element.classList.add('centred');
            else if (style & RIGHT_ALIGNED) element.classList.add('right');
            if (style & CENTRED_VERTICALLY) element.classList.add('middle');
            if (style & SUNKEN) element.classList.add('sunken');
            break;
        case KIND_ICON:
            // An icon takes the size of its picture, whatever the template says.
            element = document.createElement('canvas');
            element.className = 'icon';
            width = height = 32;
            dialog.iconSlots = [...(dialog.iconSlots ?? []), element];
            break;
        case KIND_EDIT:
            element = document.createElement('input');
            element.type = 'text';
            element.value = text;
            element.spellcheck = false;
            element.autocomplete = 'off';
            element.enterKeyHint = 'done';
            break;
        default:
            element = document.createElement('button');
            element.type = 'button';
            element.textContent = text;
            if (style & DEFAULT_BUTTON) element.classList.add('default');
            // A button may do something of the page's own first (press).
            element.addEventListener('click', () => (element.press ? element.press() : this.command(dialog, id)));
            break;
        }
        element.style.left = `${x}px`;
        element.style.top = `${y}px`;
        element.style.width = `${width}px`;
        element.style.height = `${height}px`;
        if (id !== -1) {
            element.dataset.id = String(id);
            dialog.controls.set(id, element);
        }
        dialog.client.append(element);
    }

    // A link below the newest dialog's controls, outside its template's
    // layout, opened in a window of its own.
    link(text, href, target) {
        const dialog = this.top();
        let links = dialog.element.querySelector('.links');
        if (!links) {
            links = document.createElement('div');
            links.className = 'links';
            dialog.element.append(links);
        }
        const link = document.createElement('a');
        link.href = href;
        link.target = target;
        link.textContent = text;
        links.append(link);
    }

    icon(rgba, width, height) {
        for (const slot of this.top().iconSlots ?? []) {
            slot.width = width;
            slot.height = height;
            slot.style.width = `${width}px`;
            slot.style.height = `${height}px`;
            slot.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
        }
    }

    setText(id, text) {
        const element = this.top().controls.get(id);
        if (element instanceof HTMLSelectElement && text === '') element.replaceChildren();
        else if (element instanceof HTMLInputElement) element.value = text;
        else if (element) element.textContent = text;
    }

    text(id) {
        const element = this.top().controls.get(id);
        if (element instanceof HTMLInputElement || element instanceof HTMLSelectElement) return element.value;
        return element ? element.textContent : '';
    }

    // Shows the newest dialog if it is not yet shown, and waits for a command.
    run() {
        const dialog = this.top();
        if (!dialog.element.isConnected) this.show(dialog);
        if (dialog.commands.length > 0) return Promise.resolve(dialog.commands.shift());
        return new Promise((resolve) => {
            dialog.waiting = resolve;
        });
    }

    // Ends the newest of the game's dialogs (dialog: that one).
    end(dialog = this.top()) {
        const at = this.stack.indexOf(dialog);
        if (at < 0) return;
        this.stack.splice(at, 1);
        dialog.element.close();
        dialog.element.remove();
    }

    // The newest of the game's dialogs, which the game builds and asks.
    top() {
        return this.stack.findLast((dialog) => !dialog.page);
    }

    command(dialog, id) {
        if (dialog.waiting) {
            const resolve = dialog.waiting;
            dialog.waiting = null;
            resolve(id);
        } else {
            dialog.commands.push(id);
        }
    }

    show(dialog) {
        document.body.append(dialog.element);
        dialog.element.showModal();
        this.place(dialog);
        // The first control that takes the focus gets it, an edit with its text selected.
        const first = dialog.client.querySelector('input:not([type="file"]), select, button');
        if (first) {
            first.focus();
            if (first instanceof HTMLInputElement) {
                first.select();
                this.showKeyboard(first);
            }
        }
    }

    // At the template's place relative to the play field, kept within what
    // can be seen of the page; a dialog taller than that (an on-screen
    // keyboard takes half a phone's screen) keeps its lower part, where its
    // edit and buttons are, in sight.
    place(dialog) {
        const field = this.field.getBoundingClientRect();
        const box = dialog.element.getBoundingClientRect();
        const view = window.visualViewport;
        const [viewLeft, viewTop] = view ? [view.offsetLeft, view.offsetTop] : [0, 0];
        const [viewWidth, viewHeight] = view ? [view.width, view.height] : [window.innerWidth, window.innerHeight];
        const left = Math.max(viewLeft, Math.min(field.left + dialog.offset.x, viewLeft + viewWidth - box.width));
        const lowest = viewTop + viewHeight - box.height;
        const top = box.height > viewHeight ? lowest : Math.max(viewTop, Math.min(field.top + dialog.offset.y, lowest));
        dialog.element.style.left = `${left}px`;
        dialog.element.style.top = `${top}px`;
    }

    // A dialog opened by the game, not by a tap, does not bring up the
    // on-screen keyboard by its focus alone where the browser can be asked
    // for it; there, a tap on the edit asks again. Elsewhere the edit's first
    // tap brings it up.
    showKeyboard(edit) {
        const keyboard = navigator.virtualKeyboard;
        if (!keyboard || !matchMedia('(pointer: coarse)').matches) return;
        edit.virtualKeyboardPolicy = 'manual';
        edit.addEventListener('pointerdown', () => keyboard.show());
        keyboard.show();
    }
}
