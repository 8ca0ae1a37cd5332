// The game's page in one browser engine, served from localhost: what only the
// page does - it starts and draws, its menu, keys, touch and dialogs reach
// the game, it keeps the settings and the table over reloads and tabs, starts
// the music, and plays offline. The game's own rules are the engine's tests'.
//   node page_test.mjs ENGINE SITE_DIR   (run.sh runs it once per engine)
// SPDX-License-Identifier: MIT
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

import { ENGINES } from './browsers.mjs';
import {
    DIALOG, EMPTY_TABLE, IDM, PAUSE, PLAY, START_BANNER, TITLE, button, closeBy, describePage, engineName, enterName,
    expectNoErrors, itemState, menuTitle, openBy, openGame, playOneQuickGame, site, siteDir, stateAfter, texts,
    waitFor, waitForProbe, whileRising, withGame,
} from './page_kit.mjs';

// The field as drawn in its 384 x 200 backing store: its pixels of the
// sky's colour, and a hash of its top 16 rows (on the title screen the
// status line's letters, above the jumper's reach); and when the letters'
// faces, the first picture and the first tick's frame came.
const fieldOf = (page) => page.evaluate(() => {
    const data = document.getElementById('field').getContext('2d').getImageData(0, 0, 384, 200).data;
    let [sky, letters] = [0, 2166136261];
    for (let i = 0; i < data.length; i += 4) if (data[i] === 0 && data[i + 1] === 255 && data[i + 2] === 255) ++sky;
    for (const byte of data.subarray(0, 384 * 16 * 4)) letters = Math.imul(letters ^ byte, 16777619) >>> 0;
    const faces = performance.getEntriesByType('resource').filter((e) => e.name.endsWith('.ttf'));
    const { firstPictureMs, firstFrameMs } = window.ruvo;
    return { sky, letters, facesIn: Math.max(...faces.map((e) => e.responseEnd)), firstPictureMs, firstFrameMs };
});

// One field (enabled, checked) of several menu items.
const items = (page, field, ...ids) => Promise.all(ids.map(async (id) => (await itemState(page, id))[field]));

// The largest whole number of device pixels per game pixel that fits under
// the menu bar, on whole device pixels (layout counts in fractions of one).
async function expectLargestCrispField(page, zoom) {
    await page.waitFor((z) => window.ruvo.zoom === z, zoom);
    const fit = await page.evaluate(() => {
        const [ratio, box] = [devicePixelRatio, document.getElementById('field').getBoundingClientRect()];
        const bar = document.getElementById('menubar').getBoundingClientRect().bottom * ratio;
        return { width: box.width * ratio, height: box.height * ratio, left: box.left * ratio, top: box.top * ratio,
            bar, roomWidth: innerWidth * ratio, roomHeight: innerHeight * ratio - bar };
    });
    const whole = (v) => Math.abs(v - Math.round(v)) < 0.1;
    assert.ok(Math.abs(fit.width - 384 * zoom) < 0.1 && Math.abs(fit.height - 200 * zoom) < 0.1
        && whole(fit.left) && whole(fit.top) && fit.top >= fit.bar - 0.1, JSON.stringify(fit));
    assert.ok(384 * (zoom + 1) > fit.roomWidth || 200 * (zoom + 1) > fit.roomHeight, JSON.stringify(fit));
}

// The licence and the notices, each as the site's text file holds it, on the
// page that Help > Licences and a link below the About box of page open;
// then page is the one in front again.
async function expectLicences(context, page) {
    const licences = await context.waitForPage(/licences\.html$/);
    await licences.waitFor(() => document.readyState === 'complete');
    const shown = await licences.evaluate(async () => Promise.all([...document.querySelectorAll('h2')].map(
        async (heading) => {
            const file = await fetch(heading.nextElementSibling.querySelector('a').href);
            return [heading.textContent, heading.nextElementSibling.nextElementSibling.textContent,
                file.headers.get('content-type'), await file.text()];
        })));
    assert.deepEqual(shown.map(([name]) => name), ['LICENSE', 'THIRD_PARTY_NOTICES']);
    for (const [name, text, type, served] of shown) {
        const file = readFileSync(join(siteDir, `${name}.txt`), 'utf8');
        assert.ok(file.length > 500 && text === file && served === file, name);
        assert.match(type, /^text\/plain/);
    }
    await licences.close();
    await page.front();
}

const noTouch = ENGINES[engineName]?.touch ? false : `${engineName}'s driver cannot emulate a touch screen`;

describePage('the page', () => {
    // The page's script waits until the browser has drawn the page once:
    // neither the field nor the menu's titles may move from that frame on.
    // Twice the density: 1600 x 1000 device pixels less the menu bar take
    // 4 x 384 across. Of the music's files, only whether the two large ones
    // are there is asked before the music is on.
    test('shows the field and the menu in their final boxes from the first frame, at a crisp zoom; keys and clicks ' +
        'play; fetches the music\'s files only for the music; keeps the switches over a reload and after Exit; the ' +
        'function keys stay with the game', () => withGame({ scale: 2, hold: 'script' }, async (page, context) => {
        await expectLargestCrispField(page, 4);
        assert.deepEqual(...await page.evaluate(() => [window.ruvoLayouts, [window.ruvoLayout()]]));
        // (That the status line is drawn, and the scenery before the
        // first tick, the test of the letters' faces tells.)
        assert.ok((await fieldOf(page)).sky > 384 * 200 / 3, 'the sky fills the field');
        assert.deepEqual(await texts(page, '.menu-title'), ['Game', 'Option', 'Help']);
        assert.deepEqual(await itemState(page, IDM.START), { enabled: true, checked: false, hint: 'F2' });
        assert.deepEqual(await items(page, 'enabled', IDM.PAUSE, IDM.OPTION), [false, false],
            'Option only when the settings say so');
        assert.equal(await stateAfter(page, page.click('#field')), TITLE, 'a click starts nothing (a tap does)');
        await page.press('F2');
        await waitForProbe(page, PLAY);
        assert.deepEqual(await items(page, 'enabled', IDM.START, IDM.PAUSE), [false, true]);
        assert.equal(await whileRising(page, () => page.click('#field')), 1, 'a click dives');
        assert.equal(await whileRising(page, () => page.press('Space')), 1, 'the space bar dives');
        for (const state of [PAUSE, PLAY]) assert.equal(await stateAfter(page, page.press('F3')), state);

        const musicFiles = () => site.server.requests.filter((r) => /^\/(music\/|synth\/|[^/]*\.sf2$)/.test(r.path))
            .map((r) => `${r.method} ${r.path}`).sort();
        assert.deepEqual(musicFiles(), ['HEAD /TimGM6mb.sf2', 'HEAD /synth/libfluidsynth-2.4.6.js']);
        for (const key of ['F4', 'F5']) await page.press(key); // F5: the music, not a reload
        await page.waitFor(() => window.ruvo.music.playerPlaying(), null, 30000);
        const fetched = musicFiles().filter((r) => r.startsWith('GET /music/'));
        assert.equal(new Set(fetched).size, 4, JSON.stringify(fetched));
        await openGame(context, { page });
        assert.deepEqual(await items(page, 'checked', IDM.SOUND, IDM.MUSIC), [true, true]);
        await page.press('F4');
        // Exit by the keyboard: the Game menu, up from its first item to its last.
        await page.evaluate((s) => document.querySelector(s).focus(), menuTitle('Game'));
        for (const key of ['Enter', 'ArrowUp', 'Enter']) await page.press(key);
        await page.waitFor(() => !document.getElementById('ended').hidden);
        assert.deepEqual(await page.evaluate(() => [localStorage.getItem('Ruvo/Sound'),
            localStorage.getItem('Ruvo/Music'), window.ruvo.runningTimers()]), ['0', '1', 0]);
        await page.click('#again');
        await page.waitFor(() => window.ruvo?.started && !window.ruvo.ended);
        assert.deepEqual(await items(page, 'checked', IDM.MUSIC), [true]);
        await page.press('F1');
        const help = await context.waitForPage(/help\.html$/);
        await help.waitFor(() => document.readyState === 'complete' && /Help/.test(document.title));
    }));

    test('shows the scenery before the letters\' faces come and draws the letters in them; without them, the ' +
        'soundfont and storage it plays silent', async () => {
        // Each in a profile of its own, with nothing in the browser's cache.
        const prompt = await withGame({}, fieldOf);
        // The faces held back until the game has shown its first picture.
        const late = await withGame({ hold: 'fonts' }, fieldOf);
        assert.ok(late.firstPictureMs < late.facesIn && late.facesIn < late.firstFrameMs, JSON.stringify(late));
        assert.equal(late.letters, prompt.letters, 'the status line is drawn in the same faces');
        // A page without the faces, the soundfont and storage (some engines
        // report the missing files on the console).
        const bare = { url: new URL('bare/?refuse-storage', site.url).href, ignore: /404|\.sf2|\.ttf|faces did not load/ };
        await withGame(bare, async (page) => {
            assert.notEqual((await fieldOf(page)).letters, prompt.letters, 'the browser\'s own faces stand in');
            for (const key of ['F4', 'F5']) await page.press(key);
            assert.deepEqual(await items(page, 'checked', IDM.SOUND, IDM.MUSIC), [true, false]);
            await page.press('F2');
            await waitForProbe(page, PLAY);
        });
    });

    // Some engines report that the network did not answer the music's files.
    test('plays offline; opens the dialogs by their keys, closes them by Escape or Enter, the game going on; offers ' +
        'the licences beside Help and in About, showing both texts as served',
    () => withGame({ ignore: /ERR_EMPTY_RESPONSE|NetworkError|network connection was lost|Load failed/ },
        async (page, context) => {
        // After the first visit the site plays without a network.
        await page.waitFor(() => navigator.serviceWorker.controller !== null);
        site.server.offline = true;
        await openGame(context, { page }).finally(() => (site.server.offline = false));
        await openBy(page, 'F10');
        assert.match((await texts(page, `${DIALOG} .caption span`)).join(), /Ruvo Zelp!/);
        const picture = () => page.evaluate(() => document.getElementById('field').toDataURL());
        const shown = await picture();
        await page.waitFor((t) => window.ruvo.ticks >= t, await page.evaluate(() => window.ruvo.ticks + 5));
        assert.notEqual(await picture(), shown, 'the field goes on moving behind the dialog');
        assert.equal(await stateAfter(page, page.press('F2')), TITLE, 'no command reaches the game behind a dialog');
        await page.click(`${DIALOG} .links a`);
        await expectLicences(context, page);
        await closeBy(page, 'Escape');

        await openBy(page, 'F8');
        assert.deepEqual(await texts(page, `${DIALOG} [data-id="411"]`), ['1000'], 'the table shows the best score');
        await closeBy(page, 'Enter');
        await page.click(menuTitle('Help'));
        assert.deepEqual(await texts(page, '.menu:nth-child(3) .menu-item'), ['HelpF1', 'AboutF10', 'Licences']);
        await page.click('.menu:nth-child(3) a.menu-item');
        await expectLicences(context, page);
        assert.equal(await stateAfter(page, page.press('F2')), START_BANNER, 'commands reach the game again');
    }));

    // Two tabs over one local storage: the first enters the table while the
    // second is open, whose status line shows the new best score at once;
    // then the second enters it too, and both are left, which saves them.
    // Meanwhile the second saves again and again, as a tab that is hidden or
    // closed does: a tab with no new entry writes back no row, so that none
    // of what it read before the first's row had reached it all comes back.
    test('two tabs keep both new entries, a save of the other never reverting one; the name dialog closes only by ' +
        'OK and keeps whole letters', () => withGame({ settings: EMPTY_TABLE }, async (first, context) => {
        const second = await openGame(context);
        await playOneQuickGame(first);
        await first.press('Escape'); // only OK closes the name dialog
        await first.click(`${DIALOG} .close`);
        await second.evaluate(() => {
            const next = new MessageChannel();
            window.saves = 0;
            next.port1.onmessage = () => {
                window.ruvo.exports.ruvo_save();
                ++window.saves;
                if (window.stopSaving) window.stopped = true;
                else next.port2.postMessage(null);
            };
            next.port2.postMessage(null);
        });
        // Twenty two-byte letters: 31 bytes keep fifteen of them, never half of one.
        await enterName(first, 'ü'.repeat(20), 'ü'.repeat(15));
        const best = await first.evaluate(() => Number(localStorage.getItem('Ruvo/Score1')));
        await waitForProbe(second, best, 9);
        await second.evaluate(() => (window.stopSaving = true));
        const saves = await second.waitFor(() => window.stopped && window.saves);
        // As stored once every save has been: a page opened now reads it so.
        const reader = await context.newPage();
        await reader.goto(new URL('help.html', site.url).href);
        assert.deepEqual(await reader.evaluate(() => ['Score1', 'Name1'].map((name) => localStorage.getItem(`Ruvo/${name}`))),
            [String(best), 'ü'.repeat(15)], `after ${saves} saves of the other tab`);
        await reader.close();
        await playOneQuickGame(second, { name: 'Bob' });
        await expectNoErrors(second);
        for (const page of [second, first]) await page.goto(new URL('help.html', site.url).href);
        const names = await second.evaluate(() => [1, 2, 3, 4, 5].map((row) => localStorage.getItem(`Ruvo/Name${row}`)));
        assert.deepEqual(names.filter((n) => n === 'ü'.repeat(15) || n === 'Bob').length, 2, JSON.stringify(names));
    }));

    // A phone (844 x 390 CSS pixels at 3 device pixels each) held sideways
    // and upright, with touch as its only input; then a quick game on it.
    test('the field fills the screen either way; a tap starts and dives, a second finger pauses; the menu works by ' +
        'touch; the name dialog stays within reach of the on-screen keyboard', { skip: noTouch },
    () => withGame({ width: 844, height: 390, scale: 3, touch: true, settings: EMPTY_TABLE }, async (page, context) => {
        await expectLargestCrispField(page, 5);
        await page.resize(390, 844); // held upright
        await expectLargestCrispField(page, 3);
        assert.equal(await stateAfter(page, page.tap('#field')), START_BANNER, 'a tap starts as Game > Start does');
        await waitForProbe(page, PLAY);
        assert.equal(await whileRising(page, () => page.tap('#field')), 1, 'a tap dives');
        assert.equal(await stateAfter(page, page.tap('#field', [-20, 20])), PAUSE, 'two fingers pause');
        assert.equal(await stateAfter(page, page.tap('#pause-button')), PLAY, 'the pause button resumes');
        assert.equal(await stateAfter(page, page.tap('#field')), PLAY, 'in play a tap starts nothing');

        await openGame(context, { page });
        await playOneQuickGame(page, { tap: true });
        await page.resize(844, 170); // sideways, a keyboard taking the lower half of the screen
        await page.waitFor((s) => ((box, view) => box.top >= view.offsetTop && box.bottom <= view.offsetTop + view.height)(
            document.querySelector(s).getBoundingClientRect(), visualViewport), button(1));
        await page.type('Ann');
        await page.tap(button(1));
        await waitFor(page, `${DIALOG} [data-id="416"]`);
        assert.deepEqual(await texts(page, `${DIALOG} [data-id="416"]`), ['Ann']);
    }));
});
