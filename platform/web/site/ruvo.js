// The page: loads the game's WebAssembly module and connects it to the
// canvas, the menu, the keys, the timer, the dialogs, storage and sound.
// SPDX-License-Identifier: MIT
import { askBoard, findBoard } from './board.js';
import { ListDialogs } from './dialog_list.js';
import { readReplayFragment, replayLink } from './links.js';
import { MenuBar } from './menu.js';
import { ReplayBar } from './replay_bar.js';
import { ReplayStorage } from './replays.js';
import { EffectPlayer, MusicPlayer, unlockAudio } from './sound.js';
import { SettingsStorage } from './storage.js';
import { Suspender } from './suspend.js';
import { LetterPainter } from './text.js';
import { ACCELERATORS, COMMANDS, DIVE_CHARACTER, FONTS, REPLAY_NOT_KEPT, SHORTEST_TIMER_MS } from './tables.js';
import { wasiImports } from './wasi.js';

const { START: IDM_START, PAUSE: IDM_PAUSE, BOARD: IDM_BOARD } = COMMANDS;

const canvas = document.getElementById('field');
const field = canvas.getContext('2d');
const status = { firstPictureMs: null, firstPictureTick: null, firstFrameMs: null, ticks: 0, ended: false };
window.ruvo = status; // for the tests and the benchmark

let exports = null;
let memory = null;
const suspender = new Suspender();
const utf8 = new TextDecoder();
const encoder = new TextEncoder();
const bytesAt = (pointer, length) => new Uint8Array(memory.buffer, pointer, length);
const textAt = (pointer, length) => utf8.decode(bytesAt(pointer, length));

// Copies UTF-8 text into the module's memory when it fits; returns its length.
function putText(text, pointer, capacity) {
    const bytes = encoder.encode(text);
    if (pointer !== 0 && bytes.length <= capacity) bytesAt(pointer, bytes.length).set(bytes);
    return bytes.length;
}

// The field's zoom, which the page's fit script (fit.js) keeps in step with
// the window from before this script runs: whole device pixels per game pixel.
Object.defineProperty(status, 'zoom', { get: () => Number(canvas.dataset.zoom) });

// --- Timer: one tick per period, never a backlog ---------------------------
const timers = new Map();
// While the served faces are on their way: the ticks, which draw letters, wait.
let facesPending = null;

function setTimer(id, periodMs) {
    killTimer(id);
    const period = Math.max(periodMs, SHORTEST_TIMER_MS);
    const timer = { period, due: performance.now() + period, handle: 0 };
    status.timerPeriod = period;
    const fire = () => {
        if (timers.get(id) !== timer) return;
        if (facesPending) {
            facesPending.then(fire);
            return;
        }
        ++status.ticks;
        suspender.call('ruvo_tick', id);
        const now = performance.now();
        timer.due += timer.period;
        // After a stall or a hidden tab the game goes on from now: the missed
        // ticks are not made up.
        if (timer.due < now) timer.due = now + timer.period;
        timer.handle = setTimeout(fire, timer.due - now);
    };
    timer.handle = setTimeout(fire, period);
    timers.set(id, timer);
}

status.runningTimers = () => timers.size;

function killTimer(id) {
    const timer = timers.get(id);
    if (timer) clearTimeout(timer.handle);
    timers.delete(id);
}

// --- Painting ---------------------------------------------------------------
// What the first frame does not need waits for it (the music's files).
let firstFrameShown = null;
const firstFrame = new Promise((resolve) => (firstFrameShown = resolve));

let paintPending = false;
function paint() {
    paintPending = false;
    if (!status.ended) suspender.call('ruvo_paint');
}

function invalidate() {
    if (paintPending || status.ended) return;
    paintPending = true;
    requestAnimationFrame(() => {
        if (paintPending) paint();
    });
}

function present(pointer, width, height, x, y, w, h) {
    const pixels = new Uint8ClampedArray(memory.buffer, pointer, width * height * 4).slice();
    field.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, w, h);
    // The window's first paint shows the title's scenery; the title itself,
    // the sun and the status line come with the first tick.
    if (status.firstPictureMs === null) {
        status.firstPictureMs = performance.now();
        status.firstPictureTick = status.ticks;
    }
    if (status.firstFrameMs === null && status.ticks > 0) {
        status.firstFrameMs = performance.now();
        firstFrameShown();
        keepForOffline();
    }
}

// --- The game's end ---------------------------------------------------------
function ended() {
    status.ended = true;
    for (const id of [...timers.keys()]) killTimer(id);
    document.getElementById('game').hidden = true;
    document.getElementById('ended').hidden = false;
    document.getElementById('again').focus();
}
document.getElementById('again').addEventListener('click', () => location.reload());

// --- Saving a replay: a download of the text under the name given -----------
function saveFile(name, text) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'application/x-ruvo-replay' }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

// --- Help -------------------------------------------------------------------
let helpWindow = null;
function showHelp(show) {
    if (show) {
        helpWindow = window.open('help.html', 'ruvo-help');
        if (helpWindow) helpWindow.focus();
    } else if (helpWindow) {
        helpWindow.close();
        helpWindow = null;
    }
}

// The game's licence and the notices of the parts it ships (the site's
// build writes the page), from the Help menu and the About box.
const LICENCES = { label: 'Licences', access: 'L', href: 'licences.html', target: 'ruvo-licences' };

// --- Start ------------------------------------------------------------------
// A task of its own for what follows: a message to the page itself, which,
// unlike a timer of no delay, the browser never holds back.
function nextTask() {
    return new Promise((resolve) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve();
        channel.port2.postMessage(null);
    });
}

async function start() {
    // What the game needs before it starts is asked for first, all at once.
    // The game's module has been compiling as it arrives since the page's
    // head asked for it (ruvoModule).
    const music = new MusicPlayer(firstFrame);
    const letters = new LetterPainter();
    const storage = new SettingsStorage();
    const loading = Promise.all([
        window.ruvoModule ?? WebAssembly.compileStreaming(fetch('ruvo.wasm')),
        music.probe(),
        nextTask().then(() => storage.open()),
    ]);
    // The faces are needed only for the letters, which the first tick draws:
    // the game starts and shows its scenery without them. A face that does
    // not come leaves the browser's own to stand in.
    const faces = Promise.all(FONTS.map((font) => document.fonts.load(letters.loadingFont(font)).then(nextTask)
        .then(() => letters.sizeAhead(font))))
        .catch((error) => console.error(`Ruvo: the letters' faces did not load (${error?.message ?? error})`));
    facesPending = faces.then(() => (facesPending = null));
    // The menu bar and the rest of the page's own parts are built while
    // those come, in a task of their own (a failure is reported below).
    loading.catch(() => {});
    await nextTask();
    // The replays come in their own time: the game reads none before a game ends.
    const replays = new ReplayStorage();
    status.replays = replays;
    replays.open();
    const dialogs = new ListDialogs(canvas, (name, race) => {
        const text = replays.read(name);
        return text === null ? null : replayLink(text, race);
    });
    // A write the store refused after the game was told it was done is told
    // as the game tells one it hears of.
    replays.onRefused = () => dialogs.note(REPLAY_NOT_KEPT);
    const effects = new EffectPlayer();
    // A command from the bar: the keys go back to the game, unless the
    // command opened a dialog.
    const barCommand = (id) => {
        command(id);
        if (!dialogs.open && !status.ended) canvas.focus();
    };
    const menu = new MenuBar(document.getElementById('menubar'), barCommand);
    // Only where a board serves the page.
    menu.show(IDM_BOARD, false);
    // In the menu that holds Help (F1), after it.
    menu.addLink(ACCELERATORS.get('F1'), LICENCES.label, LICENCES.access, LICENCES.href, LICENCES.target)
        .addEventListener('click', () => canvas.focus());
    // A touch screen has no F3: a button outside the field pauses, greyed as
    // Game > Pause is.
    const pauseButton = document.createElement('button');
    pauseButton.type = 'button';
    pauseButton.id = 'pause-button';
    pauseButton.textContent = 'Pause';
    pauseButton.disabled = true;
    pauseButton.addEventListener('click', () => barCommand(IDM_PAUSE));
    document.getElementById('menubar').append(pauseButton);
    // While a replay plays: REPLAY, its speed and whether it is paused, and
    // buttons for its keys (slower, faster, end), for a touch screen's sake;
    // while a race runs, its lead.
    const replayBar = new ReplayBar(document.getElementById('menubar'), (character) => {
        if (!dialogs.open && !status.ended) suspender.call('ruvo_char', character);
        canvas.focus();
    });
    const [module] = await loading;
    status.music = music;
    const mask = (pointer, length) => new Uint8Array(memory.buffer, pointer, length);

    const imports = {
        wasi_snapshot_preview1: wasiImports(() => memory),
        ruvo: {
            window_invalidate: invalidate,
            window_quit: () => setTimeout(ended),
            timer_set: setTimer,
            timer_kill: killTimer,
            menu_check: (id, on) => menu.check(id, on !== 0),
            menu_enable: (id, on) => {
                menu.enable(id, on !== 0);
                if (id === IDM_PAUSE) pauseButton.disabled = on === 0;
            },
            field_present: present,
            text_font: (id, height, weight, face, faceLength) =>
                letters.createFont(id, height, weight, textAt(face, faceLength)),
            text_glyph: (id, codePoint, pointer, width, height, pad) =>
                letters.drawLetter(id, codePoint, mask(pointer, width * height), width, height, pad),
            settings_read: (name, nameLength, pointer, capacity) => {
                const text = storage.read(textAt(name, nameLength));
                return text === null ? -1 : putText(text, pointer, capacity);
            },
            settings_writable: () => (storage.writable ? 1 : 0),
            settings_write: (name, nameLength, text, textLength) =>
                storage.write(textAt(name, nameLength), textAt(text, textLength)),
            settings_commit: () => storage.commit(),
            wave_prepare: (pointer, size) => effects.prepare(pointer, bytesAt(pointer, size)),
            wave_play: (pointer, size) => effects.play(pointer, pointer === 0 ? new Uint8Array() : bytesAt(pointer, size)),
            music_open: () => music.open(),
            music_load: (name, length) => music.load(textAt(name, length)),
            music_play: (handle, repeat) => music.play(handle, repeat !== 0),
            music_stop: () => music.stop(),
            music_free: (handle) => music.free(handle),
            music_close: () => music.close(),
            help_show: (show) => showHelp(show !== 0),
            replays_list: (pointer, capacity) => putText(replays.list().join('\n'), pointer, capacity),
            replays_read: (name, nameLength, pointer, capacity) => {
                const text = replays.read(textAt(name, nameLength));
                return text === null ? -1 : putText(text, pointer, capacity);
            },
            replays_write: (name, nameLength, text, textLength) =>
                (replays.write(textAt(name, nameLength), textAt(text, textLength)) ? 1 : 0),
            replays_remove: (name, nameLength) => (replays.remove(textAt(name, nameLength)) ? 1 : 0),
            replay_save: (name, nameLength, text, textLength) => saveFile(textAt(name, nameLength), textAt(text, textLength)),
            window_caption: (text, length, mode) => replayBar.show(textAt(text, length), mode),
            dialog_list: (id, activate, x, y, width, height) => dialogs.list(id, activate, x, y, width, height),
            dialog_list_add: (id, value, valueLength, label, labelLength) =>
                dialogs.listAdd(id, textAt(value, valueLength), textAt(label, labelLength)),
            dialog_enable: (id, on) => dialogs.enable(id, on !== 0),
            dialog_file_button: (id) => dialogs.fileButton(id),
            dialog_file: (part, pointer, capacity) => {
                const text = dialogs.file(part);
                return text === null ? -1 : putText(text, pointer, capacity);
            },
            dialog_link_button: (id, list, race) => dialogs.linkButton(id, list, race !== 0),
            dialog_page_button: (id, path, length) => dialogs.pageButton(id, textAt(path, length), 'ruvo-board'),
            dialog_note: (text, length) => dialogs.note(textAt(text, length)),
            board_request: (path, pathLength, body, bodyLength, answer) =>
                dialogs.answerWhen(answer, askBoard(textAt(path, pathLength), textAt(body, bodyLength))),
            board_status: () => dialogs.answer()?.status ?? 0,
            board_answer: (pointer, capacity) => putText(dialogs.answer()?.body ?? '', pointer, capacity),
            dialog_text_width: (text, length) => dialogs.textWidth(textAt(text, length)),
            dialog_line_height: () => dialogs.lineHeight(),
            dialog_begin: (title, titleLength, x, y, width, height) =>
                dialogs.begin(textAt(title, titleLength), x, y, width, height),
            dialog_control: (kind, id, text, textLength, x, y, width, height, style) =>
                dialogs.control(kind, id, textAt(text, textLength), x, y, width, height, style),
            dialog_icon: (pointer, width, height) => dialogs.icon(bytesAt(pointer, width * height * 4), width, height),
            dialog_set_text: (id, text, length) => dialogs.setText(id, textAt(text, length)),
            dialog_run: suspender.wrapImport(() => dialogs.run()),
            dialog_text: (id, pointer, capacity) => putText(dialogs.text(id), pointer, capacity),
            dialog_licences: () => dialogs.link(LICENCES.label, LICENCES.href, LICENCES.target),
            dialog_end: () => {
                dialogs.end();
                if (!dialogs.open) canvas.focus();
            },
        },
    };
    // The start in tasks of their own, none long enough to hold the page up:
    // the module made, then the game started.
    await nextTask();
    const instance = await WebAssembly.instantiate(module, imports);
    exports = instance.exports;
    memory = exports.memory;
    suspender.attach(exports);
    exports._initialize();
    status.exports = exports;

    // Menu commands, keys and clicks reach the game only while no dialog is
    // open, as a modal dialog takes them from the game window.
    function command(id) {
        if (!status.started || status.ended || dialogs.open || !menu.isEnabled(id)) return;
        suspender.call('ruvo_command', id);
    }

    document.addEventListener('keydown', (event) => {
        unlockAudio();
        const plain = !event.shiftKey && !event.ctrlKey && !event.altKey && !event.metaKey;
        const id = ACCELERATORS.get(event.key);
        if (id !== undefined && plain) {
            // The function keys are the game's, never the browser's (help, reload, menu).
            event.preventDefault();
            command(id);
            return;
        }
        // A replay's keys, while one plays: faster, slower, and its end.
        const replayKey = { '+': 43, '=': 61, '-': 45, Escape: 27 }[event.key];
        if (replayKey && replayBar.watching && !event.ctrlKey && !event.altKey && !event.metaKey && !dialogs.open &&
            !menu.openMenu && !status.ended) {
            event.preventDefault();
            suspender.call('ruvo_char', replayKey);
            return;
        }
        if (event.key === ' ' && !event.altKey && !dialogs.open && !status.ended && !menu.openMenu) {
            event.preventDefault();
            suspender.call('ruvo_char', DIVE_CHARACTER);
        }
    });
    // A click, a tap or a pen dives. On a device whose main pointer is a
    // finger, which has no F2 or F3: a tap on the title screen starts a game
    // as Game > Start does, and a second finger put down while one is still
    // on the field pauses (or resumes) as Game > Pause does.
    const touchScreen = matchMedia('(pointer: coarse)');
    const fingers = new Set();
    canvas.addEventListener('pointerdown', (event) => {
        unlockAudio();
        if (event.button !== 0 || dialogs.open || status.ended) return;
        event.preventDefault();
        if (event.isPrimary) fingers.clear(); // the first finger of a new touch
        if (event.pointerType === 'touch') fingers.add(event.pointerId);
        if (event.pointerType === 'touch' && fingers.size === 2) command(IDM_PAUSE);
        else if (touchScreen.matches && menu.isEnabled(IDM_START)) command(IDM_START);
        else if (fingers.size < 2) suspender.call('ruvo_click');
    });
    for (const type of ['pointerup', 'pointercancel']) canvas.addEventListener(type, (event) => fingers.delete(event.pointerId));
    document.addEventListener('pointerdown', unlockAudio, { capture: true });
    // Leaving the page (or hiding it, which may be the last chance on a phone)
    // keeps the settings as they stand.
    // Another tab's new high score shows here at once.
    storage.onTableStored(() => {
        if (!status.ended) exports.ruvo_take_in_table();
    });
    window.addEventListener('pagehide', () => {
        if (!status.ended) exports.ruvo_save();
    });
    document.addEventListener('visibilitychange', () => {
        if (document.visibilityState === 'hidden' && !status.ended) exports.ruvo_save();
    });

    await nextTask();
    await suspender.call('ruvo_start');
    // The window paints as it is shown, not a frame later: the canvas is not
    // left black until the first tick.
    if (paintPending) paint();
    await faces;
    canvas.focus();
    status.started = true;
    // The first tick comes a tick's period after start-up: time enough to
    // draw the title's letters beforehand, a few at a time, each call a task
    // of its own (a message to the page itself, which unlike a timer of no
    // delay the browser does not hold back when there are many in a row).
    const next = new MessageChannel();
    let piece = 0;
    next.port1.onmessage = () => {
        if (!status.ended && status.ticks === 0 && exports.ruvo_warm_letters(piece++)) next.port2.postMessage(null);
    };
    next.port2.postMessage(null);
    // A link to a replay plays it (or races it) once the game's first frame
    // is up; so does one put in the address later.
    // A link that cannot be read (cut short, altered, too large) is refused
    // with a note, and the title goes on.
    const watchLinked = () => readReplayFragment(location.hash).then((linked) => {
        const refuse = (why) => dialogs.note(`${linked.race ? 'Race' : 'Replay'} link: ${why}`);
        if (linked?.refusal) refuse(linked.refusal);
        else if (linked && !status.ended) {
            // The module gives no room to a text over the limit, and says why.
            const bytes = encoder.encode(linked.text);
            const room = exports.ruvo_link_room(bytes.length);
            if (room !== 0) bytesAt(room, bytes.length).set(bytes);
            const length = exports.ruvo_watch_link(linked.race ? 1 : 0);
            if (length > 0) refuse(textAt(exports.ruvo_link_error(), length));
        }
    });
    firstFrame.then(watchLinked);
    // Whether a board serves the page is asked once the first frame is up.
    firstFrame.then(findBoard).then((served) => {
        status.board = served;
        if (!served || status.ended) return;
        menu.show(IDM_BOARD, true);
        exports.ruvo_board_served();
    });
    window.addEventListener('hashchange', watchLinked);
}

start().catch((error) => {
    console.error(`Ruvo could not start: ${error.message}`);
    document.getElementById('failed').hidden = false;
});

// The service worker fetches the whole site for offline play when it is
// installed: only once the first frame is up, so as not to hold it back.
function keepForOffline() {
    if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
}
