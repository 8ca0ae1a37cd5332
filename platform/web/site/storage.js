// The settings in local storage: one entry per value, "Ruvo/" and the
// value's name. Read once when the page starts; written when the game saves.
// A browser that refuses storage plays as on a first run, and says nothing.
const PREFIX = 'Ruvo/';

export class SettingsStorage {
    constructor() {
        this.values = new Map();
        this.pending = new Map();
        this.writable = false;
        try {
            const storage = window.localStorage;
            for (let i = 0; i < storage.length; ++i) {
                const key = storage.key(i);
                if (key !== null && key.startsWith(PREFIX)) this.values.set(key.slice(PREFIX.length), storage.getItem(key));
            }
            const probe = `${PREFIX}.probe`;
            storage.setItem(probe, '1');
            storage.removeItem(probe);
            this.writable = true;
        } catch {
            this.values.clear();
        }
    }

    read(name) {
        return this.values.has(name) ? this.values.get(name) : null;
    }

    write(name, text) {
        this.pending.set(name, text);
    }

    commit() {
        for (const [name, text] of this.pending) {
            this.values.set(name, text);
            try {
                window.localStorage.setItem(PREFIX + name, text);
            } catch {
                // Full or refused: the old values stay.
            }
        }
        this.pending.clear();
    }
}
