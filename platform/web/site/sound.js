// Sound through Web Audio. Browsers let a page make sound only after the
// player's first key, click or tap, so the shared audio context is made then
// and not before: making one may hold up the page for a good part of a
// second (the browser opens the sound device), which the start of the game
// need not wait for.
//
// The effects: six WAVE images, decoded once the context is there, one voice,
// a new effect cuts off the one still playing.
//
// The music: the four MIDI tracks through FluidSynth (js-synthesizer, built
// for WebAssembly) with the TimGM6mb General MIDI soundfont. The tracks, the
// synthesizer and the soundfont are fetched when the music first plays, and
// never before the game's first frame, so that a first visit, silent as the
// game starts, loads quickly.
// SPDX-License-Identifier: MIT
import { TRACKS } from './tables.js';

let sharedContext = null;
let contextMade = null;
const contextReady = new Promise((resolve) => (contextMade = resolve));

export function audioContext() {
    return sharedContext;
}

// For the player's every key, click and tap: the first makes the context,
// any later one wakes it if the browser has put it to sleep.
export function unlockAudio() {
    if (!sharedContext && typeof AudioContext !== 'undefined') {
        sharedContext = new AudioContext();
        contextMade(sharedContext);
    }
    if (sharedContext && sharedContext.state === 'suspended') sharedContext.resume().catch(() => {});
}

export class EffectPlayer {
    constructor() {
        this.buffers = new Map(); // image address -> AudioBuffer, or null while decoding or unplayable
        this.voice = null;
    }

    // The image is copied at once (a view into the game's memory goes stale
    // when the memory grows), and decoded once there is a context.
    prepare(address, bytes) {
        if (this.buffers.has(address)) return;
        this.buffers.set(address, null);
        const image = bytes.slice().buffer;
        contextReady.then((context) => context.decodeAudioData(image)).then(
            (buffer) => this.buffers.set(address, buffer),
            () => console.warn('Ruvo: a sound effect could not be decoded'));
    }

    play(address, bytes) {
        this.stop();
        const context = audioContext();
        if (!context || bytes.length === 0) return;
        if (!this.buffers.has(address)) this.prepare(address, bytes);
        const buffer = this.buffers.get(address);
        if (!buffer || context.state !== 'running') return;
        const voice = context.createBufferSource();
        voice.buffer = buffer;
        voice.connect(context.destination);
        voice.onended = () => {
            if (this.voice === voice) this.voice = null;
        };
        voice.start();
        this.voice = voice;
    }

    stop() {
        if (this.voice) {
            this.voice.onended = null;
            this.voice.stop();
            this.voice = null;
        }
    }
}

const SYNTH_SCRIPT = 'synth/js-synthesizer.min.js';
// The site's build reads these two for the page's head, which asks whether
// the synthesizer's first script and the soundfont are there.
const SYNTH_WORKLET_MODULES = ['synth/libfluidsynth-2.4.6.js', 'synth/js-synthesizer.worklet.min.js'];
const SOUNDFONT = 'TimGM6mb.sf2';

function loadScript(url) {
    return new Promise((resolve, reject) => {
        const script = document.createElement('script');
        script.src = url;
        script.onload = resolve;
        script.onerror = () => reject(new Error(`${url} did not load`));
        document.head.append(script);
    });
}

// The music library: handles count up for the page's life, 0 is no track.
// Nothing is fetched before firstFrame (a promise) has come true.
export class MusicPlayer {
    constructor(firstFrame) {
        this.firstFrame = firstFrame;
        this.files = null; // a promise of a map, file name -> the MIDI file's bytes, once the music has played
        this.tracks = new Map(); // handle -> file name
        this.lastHandle = 0;
        this.isOpen = false;
        this.synth = null; // a promise of the running synthesizer
        this.generation = 0; // bumped by every play and stop, so a late start never plays over a newer order
        this.failed = false;
        this.available = false;
    }

    // Asks, before the game starts, whether the synthesizer and the soundfont
    // are there to be loaded (without fetching them): the library opens only
    // when both are, and when the browser can run the synthesizer.
    async probe() {
        if (typeof AudioContext === 'undefined' || typeof AudioWorkletNode === 'undefined'
            || typeof WebAssembly === 'undefined') return;
        // Kept for offline play once fetched, where the site's service worker
        // has taken charge (not on a first visit, which need not wait for the
        // cache); offline, nothing else is there.
        const kept = typeof caches !== 'undefined' && navigator.serviceWorker?.controller;
        const there = async (url) => {
            if (kept && await caches.match(url, { ignoreSearch: true })) return true;
            if (navigator.onLine === false) return false;
            // The page's head has asked already, unless the service worker serves it.
            return window.ruvoMusicAsked?.get(url) ?? (await fetch(url, { method: 'HEAD', cache: 'no-store' })).ok;
        };
        try {
            // The two large files, which a host might leave out: FluidSynth
            // built for WebAssembly (its two small scripts come with it) and
            // the soundfont.
            const answers = await Promise.all([SYNTH_WORKLET_MODULES[0], SOUNDFONT].map(there));
            this.available = answers.every(Boolean);
        } catch {
            this.available = false;
        }
    }

    // The files themselves are fetched when the music first plays.
    open() {
        if (this.isOpen) return 0;
        if (!this.available) return 1;
        this.isOpen = true;
        return 0;
    }

    // A track of the site's: it is fetched when the music first plays.
    load(fileName) {
        if (!this.isOpen || !TRACKS.includes(fileName)) return 0;
        const handle = ++this.lastHandle;
        this.tracks.set(handle, fileName);
        return handle;
    }

    // All four tracks at once, the first time any plays: they are small,
    // and so they are kept for offline play together with the soundfont. A
    // track that does not come, or is no MIDI file, stays silent.
    trackFiles() {
        this.files ??= this.firstFrame.then(() => Promise.all(TRACKS.map(async (name) => {
            try {
                const response = await fetch(`music/${name}`);
                const bytes = response.ok ? new Uint8Array(await response.arrayBuffer()) : new Uint8Array();
                if (bytes.length >= 14 && String.fromCharCode(...bytes.subarray(0, 4)) === 'MThd') return [name, bytes];
            } catch {
                // as a file that is not there
            }
            console.warn(`Ruvo: the music file ${name} did not load`);
            return [name, null];
        }))).then((entries) => new Map(entries));
        return this.files;
    }

    // The synthesizer's files are fetched at once; it is made once the
    // player's first key, click or tap has made the audio context.
    startSynth() {
        if (!this.synth) {
            this.synth = (async () => {
                await this.firstFrame;
                const [soundFont, , context] = await Promise.all([
                    fetch(SOUNDFONT).then((r) => {
                        if (!r.ok) throw new Error(`${SOUNDFONT}: ${r.status}`);
                        return r.arrayBuffer();
                    }),
                    loadScript(SYNTH_SCRIPT),
                    contextReady.then(async (context) => {
                        for (const module of SYNTH_WORKLET_MODULES) await context.audioWorklet.addModule(module);
                        return context;
                    }),
                ]);
                const synth = new window.JSSynth.AudioWorkletNodeSynthesizer();
                synth.init(context.sampleRate);
                synth.createAudioNode(context).connect(context.destination);
                await synth.loadSFont(soundFont);
                return synth;
            })();
            this.synth.catch((error) => {
                this.failed = true;
                console.warn(`Ruvo: the music could not start: ${error.message}`);
            });
        }
        return this.synth;
    }

    // Starts the track from its beginning, once or repeating.
    play(handle, repeat) {
        const name = this.tracks.get(handle);
        if (!this.isOpen || !name) return 1;
        const generation = ++this.generation;
        this.playing = handle;
        Promise.all([this.startSynth(), this.trackFiles()]).then(async ([synth, files]) => {
            const track = files.get(name);
            if (generation !== this.generation || !track) return;
            await synth.stopPlayer();
            await synth.resetPlayer();
            if (generation !== this.generation) return;
            await synth.addSMFDataToPlayer(track.slice().buffer);
            synth.setPlayerLoop(repeat ? -1 : 1);
            await synth.playPlayer();
        }).catch(() => {});
        return 0;
    }

    stop() {
        ++this.generation;
        this.playing = 0;
        if (this.synth) this.synth.then((synth) => synth.stopPlayer()).catch(() => {});
    }

    free(handle) {
        if (!this.tracks.delete(handle)) return 1;
        if (handle === this.playing) this.stop();
        return 0;
    }

    close() {
        if (!this.isOpen) return 1;
        this.stop();
        this.tracks.clear();
        this.isOpen = false;
        return 0;
    }

    // For the page's tests: whether the synthesizer is playing a track.
    async playerPlaying() {
        if (!this.synth) return false;
        const synth = await this.synth;
        return synth.isPlayerPlaying();
    }
}
