// The settings in local storage: one entry per value, "Ruvo/" and the
// value's name. Every read asks local storage itself, so that a save reads
// what another tab of the game has stored meanwhile, and nothing read is
// kept; writes are kept until the game commits its save, which writes only
// what the game hands it (the switches, and the rows its new entries
// change). A browser that refuses storage plays as on a first run, and says
// nothing.
// SPDX-License-Identifier: MIT
const PREFIX = 'Ruvo/';

function storageOrNull() {
    try {
        const storage = window.localStorage;
        const probe = `${PREFIX}.probe`;
        storage.setItem(probe, '1');
        storage.removeItem(probe);
        return storage;
    } catch {
        return null;
    }
}

export class SettingsStorage {
    constructor() {
        this.storage = null;
        this.pending = new Map();
    }

    // The browser's first look at local storage takes it a while: the page
    // opens it in a task of its own while the game's module loads.
    open() {
        this.storage = storageOrNull();
    }

    get writable() {
        return this.storage !== null;
    }

    read(name) {
        try {
            return this.storage?.getItem(PREFIX + name) ?? null;
        } catch {
            return null;
        }
    }

    write(name, text) {
        this.pending.set(name, text);
    }

    commit() {
        for (const [name, text] of this.pending) {
            try {
                this.storage?.setItem(PREFIX + name, text);
            } catch {
                // Full or refused: the old values stay.
            }
        }
        this.pending.clear();
    }

    // Calls changed() when another tab of the site stores a row of the
    // high-score table (a tab is not told of its own writes).
    onTableStored(changed) {
        window.addEventListener('storage', (event) => {
            if (event.storageArea === this.storage && event.key?.startsWith(PREFIX) &&
                /^(Score|Round|Name)[1-5]$/.test(event.key.slice(PREFIX.length))) changed();
        });
    }
}
