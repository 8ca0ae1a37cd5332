// Lets an import of the game's module wait for a promise. The module is
// rewritten at build time (Binaryen's asyncify) so that such an import can
// unwind the game's call stack into a save area and return to the page; when
// the promise settles, the same export is called again and the stack is
// rewound to where it stopped. Meanwhile the page may call other exports (the
// game keeps ticking behind a dialog). Several calls may be suspended at once,
// each in its own save area; they resume last-suspended first, as modal
// dialogs close.
// SPDX-License-Identifier: MIT
const STATE_NORMAL = 0;
const STATE_UNWINDING = 1;

export class Suspender {
    constructor() {
        this.exports = null;
        this.resuming = null; // { value } while a rewind is on its way to its import
        this.suspending = null; // the promise of the import that is unwinding
        this.freeAreas = [];
    }

    attach(exports) {
        this.exports = exports;
        const size = exports.ruvo_suspend_area_bytes();
        for (let i = 0; ; ++i) {
            const area = exports.ruvo_suspend_area(i);
            if (area === 0) break;
            this.freeAreas.push({ area, size });
        }
    }

    // Wraps an import that returns a promise of a number.
    wrapImport(start) {
        return (...args) => {
            if (this.resuming) {
                const { value } = this.resuming;
                this.resuming = null;
                this.exports.asyncify_stop_rewind();
                return value;
            }
            this.suspending = start(...args);
            this.area = this.freeAreas.pop();
            if (!this.area) throw new Error('too many suspended calls');
            const view = new Int32Array(this.exports.memory.buffer, this.area.area, 2);
            view[0] = this.area.area + 8;
            view[1] = this.area.area + this.area.size;
            this.exports.asyncify_start_unwind(this.area.area);
            return 0;
        };
    }

    // Calls an export; when it suspends, returns at once and finishes the
    // call later. Returns a promise of its result.
    call(name, ...args) {
        const run = () => {
            const result = this.exports[name](...args);
            if (this.exports.asyncify_get_state() !== STATE_UNWINDING) return Promise.resolve(result);
            this.exports.asyncify_stop_unwind();
            const promise = this.suspending;
            const area = this.area;
            this.suspending = null;
            return promise.then((value) => {
                this.resuming = { value };
                this.exports.asyncify_start_rewind(area.area);
                this.freeAreas.push(area);
                return run();
            });
        };
        return run();
    }

    get normal() {
        return this.exports.asyncify_get_state() === STATE_NORMAL;
    }
}
