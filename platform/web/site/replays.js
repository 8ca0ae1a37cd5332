// The replays the game keeps (the last game's, one for each row of the
// high-score table), in the browser's IndexedDB for the site. The game reads
// and writes them synchronously: the page keeps a copy of the store in
// memory, loaded at start-up in parallel with the game's module, and writes
// each change through. A change made before the load has finished wins over
// what the load brings. Other tabs of the game hear of each change (their
// Replays lists show this tab's new rows at once). Where the browser keeps no
// IndexedDB for the page (refused, blocked, a private window of some
// browsers), the replays live in memory only, until the page is left.
// SPDX-License-Identifier: MIT
const DATABASE = 'Ruvo';
const STORE = 'replays';
const CHANNEL = 'ruvo-replays';

export class ReplayStorage {
    constructor() {
        this.texts = new Map();
        this.changed = new Set(); // names written or removed before the load finished
        this.database = null;
        this.waiting = []; // changes made before the database opened
        this.opened = false;
        this.channel = null;
    }

    // Never fails: without IndexedDB the store is the copy in memory.
    open() {
        if (typeof BroadcastChannel === 'function') {
            this.channel = new BroadcastChannel(CHANNEL);
            this.channel.onmessage = ({ data }) => this.take(data.name, data.text);
        }
        return new Promise((resolve) => {
            const done = (database) => {
                this.database = database;
                this.opened = true;
                for (const change of this.waiting.splice(0)) this.persist(change.name, change.text);
                resolve();
            };
            let request;
            try {
                request = indexedDB.open(DATABASE, 1);
            } catch {
                done(null);
                return;
            }
            request.onupgradeneeded = () => request.result.createObjectStore(STORE);
            request.onerror = () => done(null);
            request.onblocked = () => done(null);
            request.onsuccess = () => {
                const database = request.result;
                // A newer page of the site asks to change the database: this one lets go.
                database.onversionchange = () => {
                    database.close();
                    this.database = null;
                };
                this.load(database).then(() => done(database), () => done(null));
            };
        });
    }

    load(database) {
        return new Promise((resolve, reject) => {
            const store = database.transaction(STORE, 'readonly').objectStore(STORE);
            const request = store.openCursor();
            request.onerror = () => reject(request.error);
            request.onsuccess = () => {
                const cursor = request.result;
                if (!cursor) return resolve();
                if (!this.changed.has(cursor.key) && typeof cursor.value === 'string')
                    this.texts.set(String(cursor.key), cursor.value);
                cursor.continue();
            };
        });
    }

    get persistent() {
        return this.database !== null;
    }

    list() {
        return [...this.texts.keys()];
    }

    read(name) {
        return this.texts.get(name) ?? null;
    }

    write(name, text) {
        this.change(name, text);
        return true;
    }

    remove(name) {
        const had = this.texts.has(name);
        this.change(name, null);
        return had;
    }

    change(name, text) {
        this.take(name, text);
        this.channel?.postMessage({ name, text });
        if (this.opened) this.persist(name, text);
        else this.waiting.push({ name, text });
    }

    // A change, this tab's or another's.
    take(name, text) {
        this.changed.add(name);
        if (text === null) this.texts.delete(name);
        else this.texts.set(name, text);
    }

    // A refused write (the site's storage full) leaves the copy in memory.
    persist(name, text) {
        if (!this.database) return;
        try {
            const store = this.database.transaction(STORE, 'readwrite').objectStore(STORE);
            if (text === null) store.delete(name);
            else store.put(text, name);
        } catch {
            // The database has closed: the copy in memory goes on alone.
        }
    }
}
