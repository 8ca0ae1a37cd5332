// The replays the game keeps (the last game's, one for each row of the
// high-score table), in the browser's IndexedDB for the site. The game reads
// and writes them synchronously: the page keeps a copy of the store in
// memory, loaded at start-up in parallel with the game's module, and writes
// each change through. A change made before the load has finished wins over
// what the load brings. Other tabs of the game hear of each change (their
// Replays lists show this tab's new rows at once). Where the browser keeps no
// IndexedDB for the page (refused, blocked, a private window of some
// browsers), the replays live in memory only, until the page is left.
// A write that IndexedDB refuses (the site's storage full, the transaction
// aborted) comes back after the game was told it was done: the copy in
// memory lets go of it, the stored one goes too (an older game's "last" must
// not stand for the new one), the player is told once for the writes made
// together (a game's last and row replays; onRefused), and the writes that
// follow are refused at once, so that the game hears of it itself, until a
// change goes through again.
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
        this.refusing = false; // since a write was refused
        this.batch = null; // the writes of the task that runs now
        this.onRefused = () => {};
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
        if (this.refusing) return false;
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

    persist(name, text) {
        if (!this.database) return;
        const batch = this.batch ?? (this.batch = { told: false });
        queueMicrotask(() => (this.batch = null));
        try {
            const transaction = this.database.transaction(STORE, 'readwrite');
            const store = transaction.objectStore(STORE);
            if (text === null) store.delete(name);
            else store.put(text, name);
            transaction.oncomplete = () => (this.refusing = false);
            // An error that is not handled aborts the transaction: this sees them all.
            transaction.onabort = () => {
                if (text !== null) this.refused(name, text, batch);
            };
        } catch {
            // The database has closed: the copy in memory goes on alone.
        }
    }

    refused(name, text, batch) {
        this.refusing = true;
        if (this.texts.get(name) === text) {
            this.take(name, null);
            this.channel?.postMessage({ name, text: null });
        }
        try {
            this.database?.transaction(STORE, 'readwrite').objectStore(STORE).delete(name);
        } catch {
            // Closed meanwhile: it holds nothing newer, nor is read again.
        }
        if (!batch.told) {
            batch.told = true;
            this.onRefused();
        }
    }
}
