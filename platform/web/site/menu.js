// The game's menu bar as HTML: the same items, key hints, check marks and
// greyed items as the desktop's, kept in step by the game. It works by mouse,
// by touch and by keyboard focus.
// The pop-ups and their items (null: a separator) are the engine's table.
// SPDX-License-Identifier: MIT
import { MENU } from './tables.js';

function labelWithAccess(label, access) {
    const span = document.createElement('span');
    span.className = 'label';
    const at = label.indexOf(access);
    if (at < 0) {
        span.textContent = label;
        return span;
    }
    const key = document.createElement('u');
    key.textContent = label[at];
    span.append(label.slice(0, at), key, label.slice(at + 1));
    return span;
}

export class MenuBar {
    // onCommand(id) is called for an enabled item.
    constructor(bar, onCommand) {
        this.bar = bar;
        this.items = new Map();
        this.openMenu = null;
        this.onCommand = onCommand;
        // The page comes with the titles alone, drawn from its first frame;
        // the bar is built here in their place, the titles where they were.
        bar.replaceChildren();
        for (const menu of MENU) this.addMenu(menu);
        document.addEventListener('pointerdown', (event) => {
            if (this.openMenu && !this.bar.contains(event.target)) this.close();
        });
        this.bar.addEventListener('keydown', (event) => this.navigate(event));
    }

    addMenu(menu) {
        const holder = document.createElement('div');
        holder.className = 'menu';
        const title = document.createElement('button');
        title.type = 'button';
        title.className = 'menu-title';
        title.setAttribute('aria-haspopup', 'true');
        title.setAttribute('aria-expanded', 'false');
        title.append(labelWithAccess(menu.label, menu.access));
        const popup = document.createElement('div');
        popup.className = 'menu-popup';
        popup.setAttribute('role', 'menu');
        popup.hidden = true;
        for (const item of menu.items) {
            if (item === null) {
                const line = document.createElement('hr');
                line.setAttribute('role', 'separator');
                popup.append(line);
                continue;
            }
            const button = document.createElement('button');
            button.type = 'button';
            button.className = 'menu-item';
            button.dataset.command = String(item.id);
            button.setAttribute('role', 'menuitem');
            const check = document.createElement('span');
            check.className = 'check';
            const hint = document.createElement('span');
            hint.className = 'hint';
            hint.textContent = item.hint;
            button.append(check, labelWithAccess(item.label, item.access), hint);
            button.addEventListener('click', () => {
                this.close();
                if (!button.disabled) this.onCommand(item.id);
            });
            popup.append(button);
            this.items.set(item.id, button);
        }
        title.addEventListener('click', (event) => {
            if (this.openMenu === holder) {
                this.close();
                return;
            }
            this.open(holder);
            // Opened from the keyboard: the focus goes into the menu.
            if (event.detail === 0) holder.querySelector('.menu-item:not(:disabled)')?.focus();
        });
        // Sliding across the bar with a menu open opens the one under the pointer.
        title.addEventListener('pointerenter', (event) => {
            if (this.openMenu && this.openMenu !== holder && event.pointerType === 'mouse') this.open(holder);
        });
        holder.append(title, popup);
        this.bar.append(holder);
    }

    // The keys of an open menu: up and down walk its items, left and right
    // the menus, Escape closes it.
    navigate(event) {
        if (!this.openMenu) return;
        const holders = [...this.bar.querySelectorAll('.menu')];
        const items = [...this.openMenu.querySelectorAll('.menu-item:not(:disabled)')];
        const at = items.indexOf(document.activeElement);
        switch (event.key) {
        case 'Escape': {
            const title = this.openMenu.querySelector('.menu-title');
            this.close();
            title.focus();
            break;
        }
        case 'ArrowDown':
        case 'ArrowUp':
            if (items.length > 0) {
                const step = event.key === 'ArrowDown' ? 1 : -1;
                items[(at < 0 ? (step > 0 ? 0 : items.length - 1) : at + step + items.length) % items.length].focus();
            }
            break;
        case 'ArrowLeft':
        case 'ArrowRight': {
            const step = event.key === 'ArrowRight' ? 1 : -1;
            const next = holders[(holders.indexOf(this.openMenu) + step + holders.length) % holders.length];
            this.open(next);
            (next.querySelector('.menu-item:not(:disabled)') ?? next.querySelector('.menu-title')).focus();
            break;
        }
        default:
            return;
        }
        event.preventDefault();
        event.stopPropagation();
    }

    open(holder) {
        this.close();
        this.openMenu = holder;
        holder.querySelector('.menu-popup').hidden = false;
        holder.querySelector('.menu-title').setAttribute('aria-expanded', 'true');
    }

    close() {
        if (!this.openMenu) return;
        this.openMenu.querySelector('.menu-popup').hidden = true;
        this.openMenu.querySelector('.menu-title').setAttribute('aria-expanded', 'false');
        this.openMenu = null;
    }

    // A link of the page's own at the end of the menu that holds the item
    // id, after a separator: it opens in a window of its own, as help does.
    // Returns the link.
    addLink(id, label, access, href, target) {
        const popup = this.items.get(id).parentElement;
        const line = document.createElement('hr');
        line.setAttribute('role', 'separator');
        const link = document.createElement('a');
        link.className = 'menu-item';
        link.href = href;
        link.target = target;
        link.setAttribute('role', 'menuitem');
        const check = document.createElement('span');
        check.className = 'check';
        link.append(check, labelWithAccess(label, access), document.createElement('span'));
        link.addEventListener('click', () => this.close());
        popup.append(line, link);
        return link;
    }

    check(id, checked) {
        const item = this.items.get(id);
        if (!item) return;
        item.setAttribute('role', 'menuitemcheckbox');
        item.setAttribute('aria-checked', checked ? 'true' : 'false');
    }

    enable(id, enabled) {
        const item = this.items.get(id);
        if (item) item.disabled = !enabled;
    }

    // An item the page offers only at times (Board..., where a board serves it).
    show(id, shown) {
        const item = this.items.get(id);
        if (item) item.hidden = !shown;
    }

    isEnabled(id) {
        const item = this.items.get(id);
        return item !== undefined && !item.disabled;
    }
}
