// What the tests of the page share: a suite in the engine named on the
// command line, a fresh profile with the game open in it, reading the game's
// state through the probe, its menu and dialogs, a quick game with a name at
// its end, the page's errors, and replay links.
//   node page_test.mjs ENGINE SITE_DIR   (run.sh runs each suite once per engine)
// SPDX-License-Identifier: MIT
import assert from 'node:assert/strict';
import { after, before, describe } from 'node:test';
import { constants, deflateRawSync } from 'node:zlib';

import { launch } from './browsers.mjs';
import { serve } from './serve.mjs';

export const [engineName, siteDir] = process.argv.slice(2);
// The site's address, its server and the engine, set once the suite starts.
export const site = { url: '', server: null, engine: null };

export const IDM = { START: 101, PAUSE: 102, SOUND: 104, MUSIC: 105, OPTION: 106, REPLAYS: 114, DAILY: 115, BOARD: 116 };
export const [TITLE, PLAY, PAUSE, START_BANNER] = [0x01, 0x02, 0x04, 0x0108];
export const EMPTY_TABLE = { Option: '1', Score1: '0', Score2: '0', Score3: '0', Score4: '0', Score5: '0' };

// Each suite has a server of its own; a driver that stops answering fails the run.
export const describePage = (title, body) => describe(`${title} (${engineName})`, { timeout: 600000 }, () => {
    before(async () => {
        site.server = await serve(siteDir, { testHook: true });
        site.url = `http://127.0.0.1:${site.server.address().port}/`;
        site.engine = await launch(engineName, process.env.RUVO_WEB_MODULES);
    });
    after(async () => {
        await site.engine?.close();
        site.server?.close();
    });
    body();
});

// Opens the page (or reloads it), with settings stored beforehand from
// another page of its site, and waits until the game has started and painted.
export async function openGame(context, { page = null, url = site.url, settings = null } = {}) {
    if (page) await page.reload();
    else {
        page = await context.newPage();
        if (settings) {
            await page.goto(new URL('help.html', url).href);
            await page.evaluate((entries) => {
                for (const [key, value] of Object.entries(entries)) localStorage.setItem(`Ruvo/${key}`, value);
            }, settings);
        }
        await page.goto(url);
    }
    await page.waitFor(() => window.ruvo?.started && window.ruvo.firstFrameMs !== null, null, 30000);
    return page;
}

// fn(page, context) on the game opened (url, settings; hold: what the
// server holds back, 'script' or 'fonts', as serve.mjs tells) in a fresh
// profile (width, height, scale, touch), which is closed whatever happens;
// the page must show no error but those that ignore matches. Gives fn's
// result. The server's log of requests starts with the game.
export async function withGame({ url, settings, ignore, hold = null, ...view }, fn) {
    site.server.requests = [];
    for (const name in site.server.hold) site.server.hold[name] = name === hold;
    const context = await site.engine.newContext(view);
    try {
        const page = await openGame(context, { url, settings });
        const result = await fn(page, context);
        await expectNoErrors(page, ignore);
        return result;
    } finally {
        await context.close();
    }
}

// The game's state word, the jumper's vertical direction and the best score.
export const probe = (page, field = 0) => page.evaluate((f) => window.ruvo.exports.ruvo_probe(f), field);
// The state word once done (a key's press, a click or a tap) has been.
export const stateAfter = (page, done) => done.then(() => probe(page));
export const waitForProbe = (page, value, field = 0, timeout = 30000) =>
    page.waitFor(([v, f]) => window.ruvo.exports.ruvo_probe(f) === v, [value, field], timeout);
// The jumper turns down (vertical direction 1) at once when pressed while it
// rises: waits for it to rise, then presses between two ticks.
export const whileRising = (page, press) => page.waitFor(() => {
    const p = window.ruvo.exports.ruvo_probe;
    return p(4) === -1 && p(3) >= 4 && p(3) <= 12;
}).then(press).then(() => probe(page, 4));

export const menuItem = (id) => `.menu-item[data-command="${id}"]`;
export const itemState = (page, id) => page.evaluate((s) => {
    const item = document.querySelector(s);
    return { enabled: !item.disabled, checked: item.getAttribute('aria-checked') === 'true',
        hint: item.querySelector('.hint').textContent };
}, menuItem(id));
export const menuTitle = (name) => `.menu:nth-child(${['Game', 'Option', 'Help'].indexOf(name) + 1}) .menu-title`;
// A menu's item, by mouse or (press: page.tap) by touch.
export async function choose(page, menu, id, press = (s) => page.click(s)) {
    await press(menuTitle(menu));
    await press(menuItem(id));
}
export const DIALOG = 'dialog.ruvo-dialog[open]';
export const NOTE = `${DIALOG} .note`;
export const button = (id) => `${DIALOG} button[data-id="${id}"]`;
export const waitFor = (page, selector, present = true, timeout = 30000) =>
    page.waitFor(([s, p]) => (document.querySelector(s) !== null) === p, [selector, present], timeout);
// A key that opens a dialog or closes what selector finds.
export const openBy = (page, key, selector = DIALOG) => page.press(key).then(() => waitFor(page, selector));
export const closeBy = (page, key, selector = DIALOG) => page.press(key).then(() => waitFor(page, selector, false));
// A property of what each selector finds (null where it finds nothing).
export const props = (page, name, ...selectors) =>
    page.evaluate(([n, all]) => all.map((s) => document.querySelector(s)?.[n] ?? null), [name, selectors]);
// The texts of what selector finds, trimmed.
export const texts = (page, selector) =>
    page.evaluate((s) => [...document.querySelectorAll(s)].map((e) => e.textContent.trim()), selector);

export async function fillEdit(page, id, text) {
    await page.evaluate((s) => (document.querySelector(s).focus(), document.querySelector(s).select()),
        `${DIALOG} input[data-id="${id}"]`);
    await page.type(text);
}

// No fault of the page: FluidSynth (in Firefox) names two file functions it leaves out; Firefox
// reports a download of the music's (the soundfont, the synthesizer or a track) that the service
// worker answers as failed when the page is left first, as on a reload just after F5; Chromium
// reports the server's 404 to the page asking whether a board serves it, where none does.
export const NOT_THE_PAGES = [/^fluidsynth: error: function fluid_\w+ is a stub/,
    /^Failed to load resource: the server responded with a status of 404 \(Not Found\) \(http:\/\/[^/]+\/api\/v1\/board\?limit=1\)$/,
    /^Failed to load ‘[^’]*(\.sf2|\/synth\/[^’]*|\/music\/[^’/]*\.MID)’\. A ServiceWorker intercepted the request and encountered an unexpected error\./];
export async function expectNoErrors(page, ignore = null) {
    const errors = (await page.errors()).filter((e) => !NOT_THE_PAGES.some((r) => r.test(e)) && !ignore?.test(e));
    assert.deepEqual(errors, []);
}

// The Option dialog (offered by the stored switch), by mouse or by touch:
// one life at the fastest speed (or the one given), so that the first fall
// ends the game; then Start; and the name, when given, entered at its end.
// again: the page's game before was such a one.
export async function playOneQuickGame(page, { tap = false, again = false, speed = '10', name = null } = {}) {
    const press = (selector) => (tap ? page.tap(selector) : page.click(selector));
    await page.front();
    await choose(page, 'Option', IDM.OPTION, press);
    await waitFor(page, DIALOG);
    assert.deepEqual(await props(page, 'value', `${DIALOG} input[data-id="406"]`), [again ? speed : '80']);
    await fillEdit(page, 406, speed);
    await fillEdit(page, 409, '1');
    await press(button(1));
    await waitFor(page, DIALOG, false);
    assert.deepEqual(await page.evaluate(() => window.ruvo.timerPeriod), Number(speed));
    await choose(page, 'Game', IDM.START, press);
    await page.waitFor((s) => document.activeElement === document.querySelector(s), `${DIALOG} input[data-id="410"]`,
        120000);
    if (name) await enterName(page, name);
}

// Answers the name dialog with OK and closes the table shown after it, whose
// first row may be expected to show a name.
export async function enterName(page, name, shown = null) {
    await page.front();
    await fillEdit(page, 410, name);
    await openBy(page, 'Enter', `${DIALOG} [data-id="416"]`);
    if (shown) assert.deepEqual(await texts(page, `${DIALOG} [data-id="416"]`), [shown]);
    await closeBy(page, 'Enter', `${DIALOG} [data-id="416"]`);
}

// A replay link's fragment, and one of about 1 KB for each megabyte its text
// inflates to: a megabyte of one letter flushed to a byte's edge, again and
// again, then a last block.
export const fragment = (bytes) => `#replay=${Buffer.from(bytes).toString('base64url')}`;
const megabyte = deflateRawSync(Buffer.alloc(1 << 20, 'a'), { finishFlush: constants.Z_SYNC_FLUSH });
export const bomb = (megabytes) => fragment(Buffer.concat([...Array(megabytes).fill(megabyte), Buffer.from([3, 0])]));
