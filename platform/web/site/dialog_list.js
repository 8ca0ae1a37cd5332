// The page's dialogs with what the Replays list needs besides the controls
// of the game's templates: a list box, buttons greyed and ungreyed, a button
// that asks for a file first (the browser's file picker), ones that copy a
// link the page makes (to play the replay or to race it), one that opens a
// page of the site, the board's answers, and notes of the page's own: a line, and a link to
// copy when there is one, closed by OK, Enter or Escape.
// SPDX-License-Identifier: MIT
import { DialogStack } from './dialogs.js';
import { copyLink } from './links.js';
import { REPLAY_MAX_BYTES, replayTooLarge } from './tables.js';

const NOTE_TITLE = 'Replays';

export class ListDialogs extends DialogStack {
    // makeLink(value, race) answers with a promise of the link to copy for
    // the list's selected value (one that races it), or null.
    constructor(field, makeLink) {
        super(field);
        this.makeLink = makeLink;
    }

    list(id, activate, x, y, width, height) {
        const dialog = this.top();
        const element = document.createElement('select');
        element.className = 'list';
        element.size = 2; // a list box, not a drop-down; the height is the layout's
        Object.assign(element.style, { left: `${x}px`, top: `${y}px`, width: `${width}px`, height: `${height}px` });
        element.dataset.id = String(id);
        element.addEventListener('dblclick', () => element.value && this.command(dialog, activate));
        dialog.controls.set(id, element);
        dialog.client.prepend(element); // first in the order of the focus
    }

    // The keys go back to the game once the last dialog has closed.
    end(dialog = this.top()) {
        super.end(dialog);
        if (!this.open) this.field.focus();
    }

    listAdd(id, value, label) {
        const list = this.top().controls.get(id);
        list.add(new Option(label, value));
        if (list.selectedIndex < 0) list.selectedIndex = 0;
    }

    enable(id, enabled) {
        const element = this.top().controls.get(id);
        if (element) element.disabled = !enabled;
    }

    // The file's name and text are kept for file(part) until the next one. A
    // file larger than any replay is refused by its size, before it is read.
    fileButton(id) {
        const dialog = this.top();
        const input = document.createElement('input');
        input.type = 'file';
        input.accept = '.ruvo-replay,text/plain';
        input.className = 'file';
        input.tabIndex = -1;
        input.addEventListener('change', async () => {
            const [file] = input.files;
            if (!file) return;
            if (file.size > REPLAY_MAX_BYTES) {
                input.value = '';
                this.note(`${file.name}: ${replayTooLarge(file.size)}`);
                return;
            }
            dialog.file = { name: file.name, text: null };
            try {
                dialog.file.text = new TextDecoder('utf-8', { fatal: true }).decode(await file.arrayBuffer());
            } catch {
                // Unreadable, or not UTF-8 text: the game says the file cannot be read.
            }
            input.value = '';
            this.command(dialog, id);
        });
        dialog.client.append(input);
        dialog.controls.get(id).press = () => input.click();
    }

    file(part) {
        const file = this.top().file;
        return (part === 0 ? file?.name : file?.text) ?? null;
    }

    linkButton(id, listId, race) {
        const dialog = this.top();
        dialog.controls.get(id).press = () => {
            const link = this.makeLink(dialog.controls.get(listId).value, race);
            if (link) this.copy(link, race ? 'races' : 'plays');
        };
    }

    // Opened at once, while the click still counts: browsers open windows only then.
    pageButton(id, path, target) {
        this.top().controls.get(id).press = () => window.open(new URL(path, document.baseURI).href, target);
    }

    // Answers the newest dialog with the command id once the promise of an
    // answer settles; answer() then gives it, while that dialog is the newest.
    answerWhen(id, promise) {
        const dialog = this.top();
        promise.then((answer) => {
            dialog.answer = answer;
            this.command(dialog, id);
        });
    }

    answer() {
        return this.top()?.answer ?? null;
    }

    // Asked for at once, while the click still counts: some browsers copy only then.
    async copy(link, does) {
        const copied = copyLink(link);
        let text;
        try {
            text = await link;
        } catch (error) {
            this.note(`The link cannot be made: ${error.message}`);
            return;
        }
        const note = this.note(`A link that ${does} this replay:`, text);
        note.textContent = (await copied) ? `Copied to the clipboard: a link that ${does} this replay.`
            : 'The browser did not let the page copy it: copy this link to the replay.';
    }

    // Returns the element of its line, which may change.
    note(line, link = null) {
        const width = Math.min(Math.max(this.textWidth(line) + 16, 280), innerWidth - 24);
        const rowHeight = this.lineHeight() + 8;
        const rows = link === null ? 1 : 2;
        this.begin(NOTE_TITLE, 16, 24, width, rowHeight * rows + 40, true);
        const dialog = this.stack[this.stack.length - 1];
        const text = document.createElement('div');
        text.className = 'text note';
        text.textContent = line;
        Object.assign(text.style, { left: '8px', top: '6px', width: `${width - 16}px`, height: `${rowHeight}px` });
        dialog.client.append(text);
        if (link !== null) {
            const edit = document.createElement('input');
            edit.type = 'text';
            edit.readOnly = true;
            edit.value = link;
            edit.className = 'link';
            Object.assign(edit.style, { left: '8px', top: `${rowHeight + 6}px`, width: `${width - 16}px`,
                height: `${rowHeight}px` });
            dialog.client.append(edit);
        }
        const ok = document.createElement('button');
        ok.type = 'button';
        ok.textContent = 'OK';
        ok.className = 'default';
        Object.assign(ok.style, { left: `${(width - 80) / 2}px`, top: `${rowHeight * rows + 12}px`, width: '80px',
            height: '22px' });
        ok.addEventListener('click', () => this.command(dialog, 1));
        dialog.client.append(ok);
        dialog.waiting = () => this.end(dialog);
        this.show(dialog);
        return text;
    }
}
