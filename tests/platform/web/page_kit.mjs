// What the tests of the page share: opening the game, reading its state
// through the probe, its menu and dialogs, a quick game with a name at its
// end, and the page's errors.
// SPDX-License-Identifier: MIT
import assert from 'node:assert/strict';

// The site's address, set once its server listens.
export const site = { url: '' };

export const IDM = { START: 101, PAUSE: 102, SOUND: 104, MUSIC: 105, OPTION: 106 };
export const [TITLE, PLAY, PAUSE, START_BANNER] = [0x01, 0x02, 0x04, 0x0108];
export const EMPTY_TABLE = { Option: '1', Score1: '0', Score2: '0', Score3: '0', Score4: '0', Score5: '0' };

// Opens the page (or reloads it), with settings stored beforehand from
// another page of the site, and waits until the game has started and painted.
export async function openGame(context, { page = null, url = site.url, settings = null } = {}) {
    if (page) await page.reload();
    else {
        page = await context.newPage();
        if (settings) {
            await page.goto(new URL('help.html', site.url).href);
            await page.evaluate((entries) => {
                for (const [key, value] of Object.entries(entries)) localStorage.setItem(`Ruvo/${key}`, value);
            }, settings);
        }
        await page.goto(url);
    }
    await page.waitFor(() => window.ruvo?.started && window.ruvo.firstFrameMs !== null, null, 30000);
    return page;
}

// The game's state word, the jumper's vertical direction and the best score.
export const probe = (page, field = 0) => page.evaluate((f) => window.ruvo.exports.ruvo_probe(f), field);
export const waitForState = (page, value) => page.waitFor((v) => window.ruvo.exports.ruvo_probe(0) === v, value);
export const menuItem = (id) => `.menu-item[data-command="${id}"]`;
export const itemState = (page, id) => page.evaluate((s) => {
    const item = document.querySelector(s);
    return { enabled: !item.disabled, checked: item.getAttribute('aria-checked') === 'true',
        hint: item.querySelector('.hint').textContent };
}, menuItem(id));
export const menuTitle = (name) => `.menu:nth-child(${['Game', 'Option', 'Help'].indexOf(name) + 1}) .menu-title`;
export const DIALOG = 'dialog.ruvo-dialog[open]';
export const waitFor = (page, selector, present = true, timeout = 30000) =>
    page.waitFor(([s, p]) => (document.querySelector(s) !== null) === p, [selector, present], timeout);
export const dialogText = (page, selector) => page.evaluate((s) => document.querySelector(s)?.textContent ?? null,
    `${DIALOG} ${selector}`);

export async function fillEdit(page, id, text) {
    await page.evaluate((s) => (document.querySelector(s).focus(), document.querySelector(s).select()),
        `${DIALOG} input[data-id="${id}"]`);
    await page.type(text);
}

// No fault of the page: FluidSynth (in Firefox) names two file functions it leaves out; Firefox
// reports a download of the music's (the soundfont, the synthesizer or a track) that the service
// worker answers as failed when the page is left first, as on a reload just after F5.
export const NOT_THE_PAGES = [/^fluidsynth: error: function fluid_\w+ is a stub/,
    /^Failed to load ‘[^’]*(\.sf2|\/synth\/[^’]*|\/music\/[^’/]*\.MID)’\. A ServiceWorker intercepted the request and encountered an unexpected error\./];
export async function expectNoErrors(page, ignore = null) {
    const errors = (await page.errors()).filter((e) => !NOT_THE_PAGES.some((r) => r.test(e)) && !ignore?.test(e));
    assert.deepEqual(errors, []);
}

// The Option dialog (offered by the stored switch), by mouse or by touch:
// one life at the fastest speed, so that the first fall ends the game; then
// Start. again: the page's game before was such a one.
export async function playOneQuickGame(page, tap = false, again = false) {
    const press = (selector) => (tap ? page.tap(selector) : page.click(selector));
    await page.front();
    await press(menuTitle('Option'));
    await press(menuItem(IDM.OPTION));
    await waitFor(page, DIALOG);
    assert.equal(await page.evaluate((s) => document.querySelector(s).value, `${DIALOG} input[data-id="406"]`),
        again ? '10' : '80');
    await fillEdit(page, 406, '10');
    await fillEdit(page, 409, '1');
    await press(`${DIALOG} button[data-id="1"]`);
    await waitFor(page, DIALOG, false);
    assert.deepEqual(await page.evaluate(() => window.ruvo.timerPeriod), 10);
    await press(menuTitle('Game'));
    await press(menuItem(IDM.START));
    await page.waitFor((s) => document.activeElement === document.querySelector(s), `${DIALOG} input[data-id="410"]`,
        120000);
}

// From now on IndexedDB aborts every transaction that writes a replay, as
// it does when the site's storage is full.
export const failReplayWrites = (page) => page.evaluate(() => {
    const put = IDBObjectStore.prototype.put;
    IDBObjectStore.prototype.put = function (...args) {
        const request = put.apply(this, args);
        this.transaction.abort();
        return request;
    };
});

// Answers the name dialog with OK and closes the table shown after it, whose
// first row may be expected to show a name.
export async function enterName(page, name, shown = null) {
    await page.front();
    await fillEdit(page, 410, name);
    await page.press('Enter');
    await waitFor(page, `${DIALOG} [data-id="416"]`);
    if (shown) assert.equal(await dialogText(page, '[data-id="416"]'), shown);
    await page.press('Enter');
    await waitFor(page, DIALOG, false);
}
