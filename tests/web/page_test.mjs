// The game's page in one browser engine, served from localhost: what a player
// sees and does, from the title screen to a new high score, two tabs at once,
// a touch screen, and offline play. The same tests run in every engine.
//   node page_test.mjs ENGINE SITE_DIR   (run.sh runs it once per engine)
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';

import { ENGINES, launch } from './browsers.mjs';
import { serve } from './serve.mjs';

const [engineName, siteDir] = process.argv.slice(2);
const canTouch = ENGINES[engineName]?.touch === true;

const IDM = { START: 101, PAUSE: 102, SOUND: 104, MUSIC: 105, OPTION: 106 };
const PROBE = { state: 0, score: 1, lives: 2, row: 3, vy: 4, tickInterval: 6, best: 9 };
// No suite may take longer, so that a driver that stops answering fails the run.
const SUITE = { timeout: 600000 };
const TITLE = 0x01;
const PLAY = 0x02;
const PAUSE = 0x04;
const START_BANNER = 0x0108;

let engine;
let server;
let siteUrl;
before(async () => {
    server = await serve(siteDir, { testHook: true });
    siteUrl = `http://127.0.0.1:${server.address().port}/`;
    engine = await launch(engineName, process.env.RUVO_WEB_MODULES);
});
after(async () => {
    await engine?.close();
    server?.close();
});

const waitForGame = (page) => page.waitFor(() => window.ruvo?.started && window.ruvo.firstFrameMs !== null, null, 30000);

// Opens the page (or reloads it) and waits until the game has started and painted.
async function openGame(context, page = null, url = siteUrl) {
    if (page) await page.reload();
    else {
        page = await context.newPage();
        await page.goto(url);
    }
    await waitForGame(page);
    return page;
}

// Settings stored before the game's page loads (the game would save its own
// over them when it is left): from another page of the site.
async function openGameWithSettings(context, values) {
    const page = await context.newPage();
    await page.goto(new URL('help.html', siteUrl).href);
    await page.evaluate((entries) => {
        for (const [key, value] of Object.entries(entries)) localStorage.setItem(`Ruvo/${key}`, value);
    }, values);
    await page.goto(siteUrl);
    await waitForGame(page);
    return page;
}

const probe = (page, field) => page.evaluate((f) => window.ruvo.exports.ruvo_probe(f), field);
const waitForProbe = (page, field, value, timeout = 10000) =>
    page.waitFor(([f, v]) => window.ruvo.exports.ruvo_probe(f) === v, [field, value], timeout);
const menuItem = (id) => `.menu-item[data-command="${id}"]`;
const isChecked = (page, id) => page.evaluate((s) => document.querySelector(s).getAttribute('aria-checked') === 'true',
    menuItem(id));
const isEnabled = (page, id) => page.evaluate((s) => !document.querySelector(s).disabled, menuItem(id));
const menuTitle = (name) => `.menu:nth-child(${['Game', 'Option', 'Help'].indexOf(name) + 1}) .menu-title`;
const DIALOG = 'dialog.ruvo-dialog[open]';
const dialogOpen = (page) => page.evaluate((s) => document.querySelector(s) !== null, DIALOG);
const waitForDialog = (page, open = true, timeout = 10000) =>
    page.waitFor(([s, o]) => (document.querySelector(s) !== null) === o, [DIALOG, open], timeout);
const dialogText = (page, selector) => page.evaluate((s) => document.querySelector(s)?.textContent ?? null,
    `${DIALOG} ${selector}`);

async function fillEdit(page, id, text) {
    await page.evaluate((s) => {
        const edit = document.querySelector(s);
        edit.focus();
        edit.select();
    }, `${DIALOG} input[data-id="${id}"]`);
    await page.type(text);
}

// Counts the field's pixels of one colour within a rectangle of the 384 x 200 backing store.
function countColour(page, [r, g, b], [x, y, width, height] = [0, 0, 384, 200]) {
    return page.evaluate(({ r, g, b, x, y, width, height }) => {
        const data = document.getElementById('field').getContext('2d').getImageData(x, y, width, height).data;
        let count = 0;
        for (let i = 0; i < data.length; i += 4) if (data[i] === r && data[i + 1] === g && data[i + 2] === b) ++count;
        return count;
    }, { r, g, b, x, y, width, height });
}

// Whether the field shows more than min pixels of one colour within a
// rectangle before the game leaves the given state. The page paints on the
// next animation frame after the game asks, so the picture is polled.
function colourShowsDuring(page, state, [r, g, b], [x, y, width, height], min) {
    return page.evaluate(({ state, r, g, b, x, y, width, height, min }) => new Promise((resolve) => {
        const context = document.getElementById('field').getContext('2d');
        const poll = () => {
            const data = context.getImageData(x, y, width, height).data;
            let count = 0;
            for (let i = 0; i < data.length; i += 4) if (data[i] === r && data[i + 1] === g && data[i + 2] === b) ++count;
            if (count > min) resolve(true);
            else if (window.ruvo.exports.ruvo_probe(0) !== state) resolve(false);
            else requestAnimationFrame(poll);
        };
        poll();
    }), { state, r, g, b, x, y, width, height, min });
}

const fieldPicture = (page) => page.evaluate(() => document.getElementById('field').toDataURL());
const ticksPast = (page, count) => page.evaluate((n) => window.ruvo.ticks + n, count)
    .then((target) => page.waitFor((t) => window.ruvo.ticks >= t, target));

// The jumper turns down (vertical direction 1) at once when pressed while it
// rises, from row 16 up: waits for it to rise, then presses between two ticks.
function whileRising(page, press) {
    return page.waitFor(() => {
        const p = window.ruvo.exports.ruvo_probe;
        return p(4) === -1 && p(3) >= 4 && p(3) <= 12;
    }).then(press).then(() => probe(page, PROBE.vy));
}

// Two reports that are no fault of the page: FluidSynth, built for
// WebAssembly, says on the console (in Firefox) that two file functions it
// does not need are left out; and Firefox reports a download that the
// service worker answers as failed when the page is left before it arrives,
// which a test that reloads with the music on (its soundfont on its way) does.
const NOT_THE_PAGES = [/^fluidsynth: error: function fluid_\w+ is a stub/,
    /^Failed to load ‘[^’]*(\.sf2|\/synth\/[^’]*)’\. A ServiceWorker intercepted the request and encountered an unexpected error\./];

async function expectNoErrors(page, ignore = null) {
    const errors = (await page.errors()).filter((e) => !NOT_THE_PAGES.some((r) => r.test(e)) && !ignore?.test(e));
    assert.deepEqual(errors, []);
}

const SKY = [0, 255, 255];
const YELLOW = [255, 255, 0];
const BLUE = [0, 0, 255];

// With the Option dialog (offered by the stored switch): one life at the
// fastest speed, so that the first fall ends the game; then F2.
async function playOneQuickGame(page) {
    await page.front();
    await page.click(menuTitle('Option'));
    await page.click(menuItem(IDM.OPTION));
    await waitForDialog(page);
    await fillEdit(page, 406, '10');
    await fillEdit(page, 409, '1');
    await page.press('Enter');
    await waitForDialog(page, false);
    await page.press('F2');
}

// Waits for the name dialog of a game that ended in the table, answers it and
// closes the table shown after it.
async function enterName(page, name) {
    await page.front();
    await page.waitFor((s) => document.querySelector(s) !== null, `${DIALOG} input[data-id="410"]`, 120000);
    await fillEdit(page, 410, name);
    await page.press('Enter');
    await page.waitFor((s) => document.querySelector(s) !== null, `${DIALOG} [data-id="416"]`);
    await page.press('Enter');
    await waitForDialog(page, false);
}

describe(`the page plays the game (${engineName})`, SUITE, () => {
    test('the title screen, starting, diving and pausing', async () => {
        const context = await engine.newContext();
        const page = await openGame(context);

        assert.equal(await page.evaluate(() => document.querySelectorAll('canvas').length), 1);
        assert.deepEqual(await page.evaluate(() => [field.width, field.height]), [384, 200]);
        assert.equal(await probe(page, PROBE.state), TITLE);
        assert.ok(await countColour(page, SKY) > 384 * 200 / 3, 'the sky fills the field');
        assert.ok(await countColour(page, YELLOW, [0, 50, 384, 100]) > 2000, 'the logo stands in the middle');
        assert.ok(await countColour(page, BLUE, [0, 0, 384, 20]) > 300, 'the status line runs along the top');
        assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('.menu-title')].map((t) => t.textContent)),
            ['Game', 'Option', 'Help']);
        assert.equal(await isEnabled(page, IDM.START), true);
        assert.equal(await isEnabled(page, IDM.PAUSE), false);
        assert.equal(await isEnabled(page, IDM.OPTION), false, 'Option is offered only when the settings say so');
        await page.click('#field');
        assert.equal(await probe(page, PROBE.state), TITLE, 'a click on the title screen starts nothing');

        await page.press('F2');
        assert.equal(await probe(page, PROBE.state), START_BANNER);
        assert.ok(await colourShowsDuring(page, START_BANNER, BLUE, [96, 60, 192, 80], 100), '"START" shows in the middle');
        await waitForProbe(page, PROBE.state, PLAY);
        assert.equal(await isEnabled(page, IDM.START), false);
        assert.equal(await isEnabled(page, IDM.PAUSE), true);

        assert.equal(await whileRising(page, () => page.click('#field')), 1, 'a click dives');
        assert.equal(await whileRising(page, () => page.press('Space')), 1, 'the space bar dives');

        await page.press('F3');
        assert.equal(await probe(page, PROBE.state), PAUSE);
        const score = await probe(page, PROBE.score);
        await ticksPast(page, 5);
        assert.equal(await probe(page, PROBE.score), score, 'nothing moves while paused');
        await page.press('F3');
        assert.equal(await probe(page, PROBE.state), PLAY);

        await expectNoErrors(page);
        await context.close();
    });

    test('sound and music switches survive a reload; the function keys stay with the game', async () => {
        const context = await engine.newContext();
        const page = await openGame(context);
        assert.equal(await isChecked(page, IDM.SOUND), false, 'a first visit starts silent');
        assert.equal(await isChecked(page, IDM.MUSIC), false);
        await page.press('F4');
        await page.press('F5');
        assert.equal(await isChecked(page, IDM.SOUND), true);
        assert.equal(await isChecked(page, IDM.MUSIC), true);
        // F5 toggled the music, not a reload: the page is the same one.
        assert.equal(await page.evaluate(() => window.ruvo.started), true);

        await openGame(context, page);
        assert.equal(await isChecked(page, IDM.SOUND), true);
        assert.equal(await isChecked(page, IDM.MUSIC), true);
        assert.deepEqual(await page.evaluate(() => [localStorage.getItem('Ruvo/Sound'), localStorage.getItem('Ruvo/Music')]),
            ['1', '1']);
        await page.press('F4');
        await openGame(context, page);
        assert.equal(await isChecked(page, IDM.SOUND), false);

        await page.press('F1');
        const help = await context.waitForPage(/help\.html$/);
        await help.waitFor(() => document.readyState === 'complete' && /Help/.test(document.title));
        await expectNoErrors(page);
        await context.close();
    });

    test('without its soundfont the music cannot be switched on, and the soundfont waits for the music', async () => {
        const context = await engine.newContext();
        server.requests.length = 0;
        const page = await openGame(context);
        assert.deepEqual(server.requests.filter((r) => r.path.endsWith('.sf2')).map((r) => r.method), ['HEAD'],
            'a first visit only asks whether the soundfont is there');
        const missing = await engine.newContext();
        const silent = await openGame(missing, null, new URL('no-soundfont/', siteUrl).href);
        await silent.press('F5');
        assert.equal(await isChecked(silent, IDM.MUSIC), false);
        await page.press('F5');
        assert.equal(await isChecked(page, IDM.MUSIC), true);
        await expectNoErrors(page);
        // Some engines report the soundfont's 404 on the console; nothing else may go wrong.
        await expectNoErrors(silent, /404|\.sf2/);
        await missing.close();
        await context.close();
    });

    test('Exit saves and ends the game, and the page can start it again', async () => {
        const context = await engine.newContext();
        const page = await openGame(context);
        await page.press('F4');
        await page.click(menuTitle('Game'));
        await page.click(menuItem(109));
        await page.waitFor(() => !document.getElementById('ended').hidden);
        assert.match(await page.evaluate(() => document.getElementById('ended').textContent), /Ruvo has ended/);
        assert.equal(await page.evaluate(() => localStorage.getItem('Ruvo/Sound')), '1');
        assert.equal(await page.evaluate(() => window.ruvo.runningTimers()), 0, 'no timer is left to tick');
        await page.click('#again');
        await page.waitFor(() => window.ruvo?.started);
        assert.equal(await isChecked(page, IDM.SOUND), true);
        await expectNoErrors(page);
        await context.close();
    });

    test('a browser that refuses storage plays as on a first run', async () => {
        const context = await engine.newContext();
        const page = await openGame(context, null, `${siteUrl}?refuse-storage`);
        assert.equal(await isChecked(page, IDM.SOUND), false);
        await page.press('F4');
        assert.equal(await isChecked(page, IDM.SOUND), true);
        await page.press('F2');
        await waitForProbe(page, PROBE.state, PLAY);
        // Exit by the keyboard: the Game menu, up from its first item to its last.
        await page.evaluate((s) => document.querySelector(s).focus(), menuTitle('Game'));
        await page.press('Enter');
        await page.press('ArrowUp');
        await page.press('Enter');
        await page.waitFor(() => !document.getElementById('ended').hidden);
        await expectNoErrors(page);
        await context.close();
    });
});

describe(`the dialogs (${engineName})`, SUITE, () => {
    test('About and the table open by their keys and close by Escape or Enter, with the game going on', async () => {
        const context = await engine.newContext();
        const page = await openGame(context);

        await page.press('F10');
        await waitForDialog(page);
        assert.match(await dialogText(page, '.caption span'), /Ruvo Zelp!/);
        const before = await fieldPicture(page);
        await ticksPast(page, 5);
        assert.notEqual(await fieldPicture(page), before, 'the field goes on moving behind the dialog');
        await page.press('F2');
        assert.equal(await probe(page, PROBE.state), TITLE, 'the game takes no command while a dialog is open');
        await page.press('Escape');
        await waitForDialog(page, false);

        await page.press('F8');
        await waitForDialog(page);
        assert.equal(await dialogText(page, '.caption span'), 'High-Score');
        assert.equal(await dialogText(page, '[data-id="411"]'), '1000');
        await page.press('Enter');
        await waitForDialog(page, false);

        await page.press('F2');
        assert.equal(await probe(page, PROBE.state), START_BANNER, 'commands reach the game again');
        await expectNoErrors(page);
        await context.close();
    });

    test('with the option switch set, the Option dialog changes the speed', async () => {
        const context = await engine.newContext();
        const page = await openGameWithSettings(context, { Option: '1' });
        assert.equal(await isEnabled(page, IDM.OPTION), true);

        await page.click(menuTitle('Option'));
        await page.click(menuItem(IDM.OPTION));
        await waitForDialog(page);
        assert.equal(await page.evaluate((s) => document.querySelector(s).value, `${DIALOG} input[data-id="406"]`), '80');
        await fillEdit(page, 406, '30');
        await page.press('Enter');
        await waitForDialog(page, false);
        assert.equal(await probe(page, PROBE.tickInterval), 30);
        assert.equal(await page.evaluate(() => window.ruvo.timerPeriod), 30);

        // Cancel keeps what was there.
        await page.click(menuTitle('Option'));
        await page.click(menuItem(IDM.OPTION));
        await waitForDialog(page);
        await fillEdit(page, 406, '50');
        await page.click(`${DIALOG} button[data-id="2"]`);
        await waitForDialog(page, false);
        assert.equal(await probe(page, PROBE.tickInterval), 30);
        await expectNoErrors(page);
        await context.close();
    });

    test('a game that ends with a high score asks for a name, kept after a reload', async () => {
        const context = await engine.newContext();
        // An empty table, so that any score enters it.
        const page = await openGameWithSettings(context,
            { Option: '1', Score1: '0', Score2: '0', Score3: '0', Score4: '0', Score5: '0' });
        await playOneQuickGame(page);

        const name = `${DIALOG} input[data-id="410"]`;
        await page.waitFor((s) => document.querySelector(s) !== null, name, 120000);
        assert.equal(await page.evaluate((s) => document.activeElement === document.querySelector(s), name), true,
            'the name field has the focus');
        // Twenty two-byte letters: 31 bytes keep fifteen of them, never half of one.
        await fillEdit(page, 410, 'ü'.repeat(20));
        await page.press('Escape');
        await page.click(`${DIALOG} .close`);
        assert.equal(await dialogOpen(page), true, 'only OK closes the name dialog');
        await page.press('Enter');
        await page.waitFor((s) => document.querySelector(s) !== null, `${DIALOG} [data-id="416"]`);
        assert.equal(await dialogText(page, '[data-id="416"]'), 'ü'.repeat(15));
        await page.press('Enter');
        await waitForDialog(page, false);

        await openGame(context, page);
        await page.press('F8');
        await waitForDialog(page);
        assert.equal(await dialogText(page, '[data-id="416"]'), 'ü'.repeat(15));
        assert.notEqual(await dialogText(page, '[data-id="411"]'), '0');
        await page.press('Enter');
        await expectNoErrors(page);
        await context.close();
    });
});

// Two tabs of the game over one local storage: the first enters the table
// while the second is open, whose status line shows the new best score at
// once; then the second enters it too. Both tabs are then left (which saves
// their settings) in either order, and the table keeps both entries.
describe(`two tabs (${engineName})`, SUITE, () => {
    for (const firstLeavesFirst of [true, false]) {
        test(`keep both new high scores when the ${firstLeavesFirst ? 'first' : 'second'} is left first`, async () => {
            const context = await engine.newContext();
            const values = { Option: '1', Score1: '0', Score2: '0', Score3: '0', Score4: '0', Score5: '0' };
            const first = await openGameWithSettings(context, values);
            const second = await openGame(context);
            await playOneQuickGame(first);
            await enterName(first, 'Ann');
            const annScore = await first.evaluate(() => Number(localStorage.getItem('Ruvo/Score1')));
            assert.ok(annScore > 0);
            await second.waitFor((s) => window.ruvo.exports.ruvo_probe(9) === s, annScore);
            await playOneQuickGame(second);
            await enterName(second, 'Bob');
            const [leftFirst, leftLast] = firstLeavesFirst ? [first, second] : [second, first];
            for (const page of [leftFirst, leftLast]) {
                await expectNoErrors(page);
                await page.goto(new URL('help.html', siteUrl).href);
            }
            const table = await leftLast.evaluate(() => [1, 2, 3, 4, 5].map((row) => [
                Number(localStorage.getItem(`Ruvo/Score${row}`)), localStorage.getItem(`Ruvo/Name${row}`)]));
            const names = table.map(([, name]) => name);
            assert.deepEqual(names.filter((n) => n === 'Ann' || n === 'Bob').sort(), ['Ann', 'Bob'], JSON.stringify(table));
            for (let row = 1; row < 5; ++row) assert.ok(table[row - 1][0] >= table[row][0], JSON.stringify(table));
            if (table[names.indexOf('Ann')][0] === table[names.indexOf('Bob')][0])
                assert.ok(names.indexOf('Ann') < names.indexOf('Bob'), 'of equal scores the older stays above');
            await context.close();
        });
    }
});

describe(`a tab that has not heard of another's entry (${engineName})`, SUITE, () => {
    // An entry stored by a tab whose news has not reached this one (a tab
    // the browser froze, a save at the same moment): stored here behind the
    // page's back, which tells a page nothing of its own writes.
    test('keeps that entry when it saves its own settings', async () => {
        const context = await engine.newContext();
        const page = await openGame(context);
        await page.evaluate(() => {
            localStorage.setItem('Ruvo/Score1', '9000');
            localStorage.setItem('Ruvo/Round1', '12');
            localStorage.setItem('Ruvo/Name1', 'Eve');
        });
        await page.press('F4');
        await page.goto(new URL('help.html', siteUrl).href); // leaving saves
        assert.deepEqual(await page.evaluate(() => ['Score1', 'Round1', 'Name1', 'Score2', 'Name2', 'Sound']
            .map((name) => localStorage.getItem(`Ruvo/${name}`))), ['9000', '12', 'Eve', '1000', 'K.Dorrimak', '1']);
        await context.close();
    });
});

// A phone (844 x 390 CSS pixels at 3 device pixels each) held sideways and
// upright, with touch as its only input.
const noTouch = `${engineName}'s driver cannot emulate a touch screen`;
const touchOnly = { skip: canTouch ? false : noTouch };
// Where an engine is left out, the test's name says why.
const touchTest = (name) => (canTouch ? name : `${name} (left out: ${noTouch})`);
describe(`a touch screen (${engineName})`, SUITE, () => {
    // The field is the largest whole number of device pixels per game pixel
    // that fits under the menu bar, and lies on whole device pixels.
    async function expectLargestCrispField(page) {
        const fit = await page.evaluate(() => {
            const ratio = devicePixelRatio;
            const box = document.getElementById('field').getBoundingClientRect();
            const bar = document.getElementById('menubar').getBoundingClientRect();
            return { ratio, width: box.width * ratio, height: box.height * ratio, left: box.left * ratio,
                top: box.top * ratio, barBottom: bar.bottom * ratio, roomWidth: innerWidth * ratio,
                roomHeight: innerHeight * ratio - bar.bottom * ratio };
        });
        const zoom = Math.round(fit.width / 384);
        // Layout counts in fractions of a CSS pixel (a 64th in Chromium) and
        // paints on whole device pixels.
        const near = (a, b) => Math.abs(a - b) < 0.1;
        const whole = (v) => near(v, Math.round(v));
        assert.ok(zoom >= 1 && near(fit.width, 384 * zoom) && near(fit.height, 200 * zoom),
            `a game pixel is ${zoom} device pixels: ${JSON.stringify(fit)}`);
        assert.ok(whole(fit.left) && whole(fit.top) && fit.top >= fit.barBottom - 0.1, JSON.stringify(fit));
        assert.ok(384 * (zoom + 1) > fit.roomWidth || 200 * (zoom + 1) > fit.roomHeight,
            `a larger field would fit: ${JSON.stringify(fit)}`);
        return zoom;
    }

    test(touchTest('the field fills the screen held either way, crisp; a tap starts, dives and a second finger pauses'), touchOnly, async () => {
        const context = await engine.newContext({ width: 844, height: 390, scale: 3, touch: true });
        const page = await openGame(context);
        assert.equal(await page.evaluate(() => matchMedia('(pointer: coarse)').matches), true);
        assert.equal(await expectLargestCrispField(page), 5, 'held sideways: 5 x 384 device pixels across');
        await page.resize(390, 844);
        await page.waitFor(() => window.ruvo.zoom === 3);
        assert.equal(await expectLargestCrispField(page), 3, 'held upright: 3 x 384 device pixels across');
        await page.resize(844, 390);
        await page.waitFor(() => window.ruvo.zoom === 5);

        // The title line keeps its text; a tap on the field starts as Game > Start does.
        await page.tap('#field');
        assert.equal(await probe(page, PROBE.state), START_BANNER);
        await waitForProbe(page, PROBE.state, PLAY);
        assert.equal(await whileRising(page, () => page.tap('#field')), 1, 'a tap dives');
        await page.twoFingerTap('#field');
        assert.equal(await probe(page, PROBE.state), PAUSE, 'two fingers pause');
        await page.tap('#pause-button');
        assert.equal(await probe(page, PROBE.state), PLAY, 'the pause button resumes');
        await page.tap('#pause-button');
        assert.equal(await probe(page, PROBE.state), PAUSE);
        await page.twoFingerTap('#field');
        assert.equal(await probe(page, PROBE.state), PLAY);
        // In play Start is greyed: a tap dives and starts nothing.
        await page.tap('#field');
        assert.equal(await probe(page, PROBE.state), PLAY);
        await expectNoErrors(page);
        await context.close();
    });

    test(touchTest('the menu works by touch, and the name dialog stays within reach of the on-screen keyboard'), touchOnly, async () => {
        const context = await engine.newContext({ width: 844, height: 390, scale: 3, touch: true });
        const page = await openGameWithSettings(context,
            { Option: '1', Score1: '0', Score2: '0', Score3: '0', Score4: '0', Score5: '0' });
        await page.tap(menuTitle('Option'));
        await page.tap(menuItem(IDM.SOUND));
        assert.equal(await isChecked(page, IDM.SOUND), true);
        await page.tap(menuTitle('Option'));
        await page.tap(menuItem(IDM.OPTION));
        await waitForDialog(page);
        await fillEdit(page, 406, '10');
        await fillEdit(page, 409, '1');
        await page.tap(`${DIALOG} button[data-id="1"]`);
        await waitForDialog(page, false);
        assert.equal(await probe(page, PROBE.tickInterval), 10);
        await page.tap(menuTitle('Game'));
        await page.tap(menuItem(IDM.START));

        const name = `${DIALOG} input[data-id="410"]`;
        await page.waitFor((s) => document.querySelector(s) !== null, name, 120000);
        assert.equal(await page.evaluate((s) => document.activeElement === document.querySelector(s), name), true);
        // The keyboard takes the lower half of the screen.
        await page.resize(844, 170);
        const ok = `${DIALOG} button[data-id="1"]`;
        const within = (s) => {
            const box = document.querySelector(s).getBoundingClientRect();
            const view = window.visualViewport;
            return box.top >= view.offsetTop && box.bottom <= view.offsetTop + view.height;
        };
        await page.waitFor(within, ok).catch(async (error) => {
            const where = await page.evaluate((s) => [document.querySelector(s).getBoundingClientRect().toJSON(), document.querySelector("dialog[open]").getBoundingClientRect().toJSON(), document.querySelectorAll("dialog[open]").length,
                visualViewport.offsetTop, visualViewport.height, innerHeight], ok);
            throw new Error(`${error.message}: OK at ${JSON.stringify(where)}`);
        });
        await page.type('Ann');
        await page.tap(ok);
        await page.waitFor((s) => document.querySelector(s) !== null, `${DIALOG} [data-id="416"]`);
        assert.equal(await dialogText(page, '[data-id="416"]'), 'Ann');
        await page.tap(ok);
        await waitForDialog(page, false);
        await expectNoErrors(page);
        await context.close();
    });
});

// Every engine: the zoom counts device pixels on a display of twice the density.
describe(`a dense display (${engineName})`, SUITE, () => {
    test('the field is the largest whole number of device pixels per game pixel that fits', async () => {
        const context = await engine.newContext({ width: 800, height: 500, scale: 2 });
        const page = await openGame(context);
        const fit = await page.evaluate(() => [devicePixelRatio, document.getElementById('field').getBoundingClientRect().width,
            window.ruvo.zoom]);
        // 1600 x 1000 device pixels, less the menu bar: 4 x 384 across, 4 x 200 down.
        assert.deepEqual(fit, [2, 768, 4]);
        await expectNoErrors(page);
        await context.close();
    });
});

describe(`offline (${engineName})`, SUITE, () => {
    test('after the first visit the site plays without a network', async () => {
        const context = await engine.newContext();
        const page = await openGame(context);
        await page.evaluate(async () => {
            await navigator.serviceWorker.ready;
            if (!navigator.serviceWorker.controller)
                await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
        });
        server.offline = true;
        try {
            await openGame(context, page);
            assert.ok(await countColour(page, SKY) > 384 * 200 / 3);
            await page.press('F2');
            assert.equal(await probe(page, PROBE.state), START_BANNER);
        } finally {
            server.offline = false;
        }
        // The page asks the network whether the music's files are there, and
        // some engines report on the console that it did not answer.
        await expectNoErrors(page, /ERR_EMPTY_RESPONSE|NetworkError|network connection was lost|Load failed/);
        await context.close();
    });
});
