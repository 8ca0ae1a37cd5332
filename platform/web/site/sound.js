// Sound through Web Audio. Browsers let a page make sound only after the
// player's first key, click or tap, which unlocks the shared audio context.
//
// The effects: six WAVE images decoded once, one voice, a new effect cuts off
// the one still playing.
//
// The music: the four MIDI tracks through FluidSynth (js-synthesizer, built
// for WebAssembly) with the TimGM6mb General MIDI soundfont. The synthesizer
// and the soundfont are fetched when the music first plays, so that a first
// visit, silent as the game starts, loads quickly.
let sharedContext = null;

export function audioContext() {
    if (!sharedContext && typeof AudioContext !== 'undefined') sharedContext = new AudioContext();
    return sharedContext;
}

export function unlockAudio() {
    const context = audioContext();
    if (context && context.state === 'suspended') context.resume().catch(() => {});
}

export class EffectPlayer {
    constructor() {
        this.buffers = new Map(); // image address -> AudioBuffer, or null while decoding or unplayable
        this.voice = null;
    }

    prepare(address, bytes) {
        const context = audioContext();
        if (!context || this.buffers.has(address)) return;
        this.buffers.set(address, null);
        context.decodeAudioData(bytes.slice().buffer).then(
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
export class MusicPlayer {
    constructor() {
        this.files = new Map(); // file name -> the MIDI file's bytes, fetched before start
        this.tracks = new Map();
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
        const context = audioContext();
        if (!context || !context.audioWorklet || typeof WebAssembly === 'undefined') return;
        // Kept for offline play once fetched, where the site's service worker
        // has taken charge (not on a first visit, which need not wait for the
        // cache); offline, nothing else is there.
        const kept = typeof caches !== 'undefined' && navigator.serviceWorker?.controller;
        const there = async (url) => {
            if (kept && await caches.match(url, { ignoreSearch: true })) return true;
            if (navigator.onLine === false) return false;
            return (await fetch(url, { method: 'HEAD', cache: 'no-store' })).ok;
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

    load(fileName) {
        const bytes = this.files.get(fileName);
        if (!this.isOpen || !bytes || bytes.length < 14 || String.fromCharCode(...bytes.subarray(0, 4)) !== 'MThd') return 0;
        const handle = ++this.lastHandle;
        this.tracks.set(handle, bytes);
        return handle;
    }

    startSynth() {
        if (!this.synth) {
            this.synth = (async () => {
                const context = audioContext();
                const [soundFont] = await Promise.all([
                    fetch(SOUNDFONT).then((r) => {
                        if (!r.ok) throw new Error(`${SOUNDFONT}: ${r.status}`);
                        return r.arrayBuffer();
                    }),
                    loadScript(SYNTH_SCRIPT),
                    (async () => {
                        for (const module of SYNTH_WORKLET_MODULES) await context.audioWorklet.addModule(module);
                    })(),
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
        const track = this.tracks.get(handle);
        if (!this.isOpen || !track) return 1;
        const generation = ++this.generation;
        this.playing = handle;
        this.startSynth().then(async (synth) => {
            if (generation !== this.generation) return;
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
