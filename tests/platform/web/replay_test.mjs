// Replays on the game's page in one browser engine: a replay file made by the
// native ruvo-sim opens and plays to its end with its result, under its keys
// and buttons, also with a byte-order mark and CR LF; a broken or too large
// one is refused; a game played on the page leaves its replays in the
// browser's store, which the native ruvo-sim verifies, saved as a file and as
// a link that plays it in another page; a link that would inflate past the
// limit is refused, one put in the address behind a dialog plays once it
// closes; a write the store refuses is told once and leaves no older game as
// the last.
//   node replay_test.mjs ENGINE SITE_DIR   (run.sh runs it once per engine;
//   RUVO_SIM names the native ruvo-sim, build/bin/ruvo-sim when not given;
//   RUVO_DESKTOP_REPLAY a replay the desktop game left, played here too)
// SPDX-License-Identifier: MIT
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { constants, deflateRawSync } from 'node:zlib';
import { after, before, describe, test } from 'node:test';

import { launch } from './browsers.mjs';
import {
    DIALOG, EMPTY_TABLE, IDM, TITLE, enterName, expectNoErrors, failReplayWrites, fillEdit, menuItem, menuTitle, openGame,
    playOneQuickGame, probe, site, waitFor,
} from './page_kit.mjs';
import { serve } from './serve.mjs';

const [engineName, siteDir] = process.argv.slice(2);
const SIM = process.env.RUVO_SIM ?? fileURLToPath(new URL('../../../build/bin/ruvo-sim', import.meta.url));
const SCRIPTED = readFileSync(new URL('../../soak/fuzz/replay-corpus/scripted.ruvo-replay', import.meta.url), 'utf8');
const DESKTOP = process.env.RUVO_DESKTOP_REPLAY;
const IDM_REPLAYS = 114;
const [SAVE_AS, COPY_LINK, DELETE] = [502, 504, 505];

let engine, server, work;
before(async () => {
    server = await serve(siteDir, { testHook: true });
    site.url = `http://127.0.0.1:${server.address().port}/`;
    engine = await launch(engineName, process.env.RUVO_WEB_MODULES);
    work = mkdtempSync(join(tmpdir(), 'ruvo-replay-test-'));
});
after(async () => {
    await engine?.close();
    server?.close();
    rmSync(work, { recursive: true, force: true });
});

// A replay's result line as [score, round, ticks].
const resultOf = (text) => text.match(/^result score=(\d+) round=(\d+) ticks=(\d+)/m).slice(1).map(Number);
// The last replay watched to its end, as [score, round, ticks].
const watched = (page) => Promise.all([11, 12, 13].map((field) => probe(page, field)));
const watching = (page, on) => page.waitFor((v) => window.ruvo.exports.ruvo_probe(10) === v, on ? 1 : 0, 120000);
const caption = (page) => page.evaluate(() => !document.getElementById('replay-bar').hidden &&
    document.getElementById('replay-caption').textContent);
const waitForCaption = (page, text) => page.waitFor((t) => !document.getElementById('replay-bar').hidden &&
    document.getElementById('replay-caption').textContent === t, text);
const NOTE = `${DIALOG} .note`;
const notes = (page) => page.evaluate((s) => [...document.querySelectorAll(s)].map((n) => n.textContent), NOTE);
const LIMIT = 1048576;
// What the module's memory has grown to, which it never gives back.
const memory = (page) => page.evaluate(() => window.ruvo.exports.memory.buffer.byteLength);
const fragment = (bytes) => `#replay=${Buffer.from(bytes).toString('base64url')}`;
// A link of about 1 KB for each megabyte its text inflates to: a megabyte
// of one letter flushed to a byte's edge, again and again, then a last block.
const bomb = (megabytes) => fragment(Buffer.concat([...Array(megabytes).fill(
    deflateRawSync(Buffer.alloc(1 << 20, 'a'), { finishFlush: constants.Z_SYNC_FLUSH })), Buffer.from([3, 0])]));

async function openReplays(page) {
    await page.front();
    await page.click(menuTitle('Game'));
    await page.click(menuItem(IDM_REPLAYS));
    await waitFor(page, `${DIALOG} select.list`);
}

// As the browser's file picker gives a file to the Replays list's Open...
// (of zeros when text is a number of bytes).
const chooseFile = (page, name, text) => page.evaluate(({ name, text }) => {
    const input = document.querySelector('dialog.ruvo-dialog[open] input.file');
    const files = new DataTransfer();
    files.items.add(new File([typeof text === 'number' ? new Uint8Array(text) : text], name));
    input.files = files.files;
    input.dispatchEvent(new Event('change'));
}, { name, text });

const rows = (page) => page.evaluate((s) => [...document.querySelectorAll(s)].map((o) => o.textContent),
    `${DIALOG} select.list option`);

describe(`replays on the page (${engineName})`, { timeout: 600000 }, () => {
    test('a native replay file plays to its end with its result; its keys and buttons; a broken file is refused',
        async () => {
        const context = await engine.newContext();
        // Without IndexedDB (nor local storage) the game keeps its replays in memory.
        const page = await openGame(context, { url: new URL('?refuse-storage', site.url).href });
        await openReplays(page);
        assert.deepEqual(await rows(page), []);
        assert.equal(await page.evaluate((s) => document.querySelector(s).disabled, `${DIALOG} button[data-id="1"]`),
            true, 'nothing to watch');
        await chooseFile(page, 'cut.ruvo-replay', SCRIPTED.replace(/^result .*\n/m, ''));
        await waitFor(page, NOTE);
        assert.equal(await page.evaluate((s) => document.querySelector(s).textContent, NOTE),
            'cut.ruvo-replay: truncated: the result line is missing');
        await page.press('Enter');
        await waitFor(page, NOTE, false);
        // One larger than any replay is refused by its size, before it is read.
        const room = await memory(page);
        await chooseFile(page, 'big.ruvo-replay', 64 << 20);
        await waitFor(page, NOTE);
        assert.deepEqual(await notes(page),
            [`big.ruvo-replay: too large: ${64 << 20} bytes, where a replay holds at most ${LIMIT}`]);
        assert.ok(await memory(page) - room <= LIMIT, 'the module took it in');
        await page.press('Enter');
        await waitFor(page, NOTE, false);

        // A byte-order mark and CR LF line ends play as the plain file does.
        await chooseFile(page, 'crlf.ruvo-replay', `\ufeff${SCRIPTED.replace(/\n/g, '\r\n')}`);
        await watching(page, true);
        await waitFor(page, DIALOG, false);
        assert.equal(await caption(page), 'REPLAY');
        assert.match(await page.evaluate(() => document.title), / - REPLAY$/);
        await page.press('+');
        await waitForCaption(page, 'REPLAY 2x');
        await page.click('#replay-bar button[data-character="45"]');
        await waitForCaption(page, 'REPLAY');
        await page.press('F3');
        await waitForCaption(page, 'REPLAY, paused');
        await page.press('F3');
        for (const speed of ['2x', '4x', '8x']) {
            await page.click('#replay-bar button[data-character="43"]');
            await waitForCaption(page, `REPLAY ${speed}`);
        }
        await watching(page, false);
        assert.deepEqual(await watched(page), resultOf(SCRIPTED));
        assert.deepEqual([await caption(page), await probe(page)], [false, TITLE]);

        // Esc ends a replay before its end.
        await openReplays(page);
        await chooseFile(page, 'scripted.ruvo-replay', SCRIPTED);
        await watching(page, true);
        await page.press('Escape');
        await watching(page, false);
        assert.deepEqual(await watched(page), [0, 0, 0], 'it did not play to its end');
        await expectNoErrors(page);
        await context.close();
    });

    // The desktop game's own replay (its window test leaves it before the
    // browsers run) ends here as it ended there.
    test("the desktop game's replay plays to the same result", { skip: !DESKTOP || !existsSync(DESKTOP) }, async () => {
        const text = readFileSync(DESKTOP, 'utf8');
        assert.match(text, /^edition desktop$/m);
        const context = await engine.newContext();
        try {
            const page = await openGame(context);
            await openReplays(page);
            await chooseFile(page, 'desktop.ruvo-replay', text);
            await watching(page, true);
            for (const speed of ['2x', '4x', '8x']) {
                await page.press('+');
                await waitForCaption(page, `REPLAY ${speed}`);
            }
            await watching(page, false);
            assert.deepEqual(await watched(page), resultOf(text));
            await expectNoErrors(page);
        } finally {
            // A page left playing would take the front from the next test's.
            await context.close();
        }
    });

    test('a game played on the page is kept; the native ruvo-sim verifies it; saved, and shared by a link', async () => {
        const context = await engine.newContext();
        const page = await openGame(context, { settings: EMPTY_TABLE });
        const other = await openGame(context);
        await playOneQuickGame(page);
        await enterName(page, 'Web');
        // Another tab of the game hears of the new replays at once.
        await other.waitFor(() => window.ruvo.replays.list().sort().join() === 'last,' +
            window.ruvo.replays.list().find((name) => name.startsWith('row-')));
        // From the browser's store, after a reload.
        await openGame(context, { page });
        await page.waitFor(() => window.ruvo.replays.opened && window.ruvo.replays.persistent);
        await openReplays(page);
        const [first, last] = await rows(page);
        const score = await probe(page, 9);
        assert.match(first, new RegExp(`^1st\\s+${score}\\s+round 1\\s+Web$`));
        assert.match(last, new RegExp(`^Last game\\s+${score}\\s+round 1\\s+Web$`));

        await page.evaluate(() => {
            HTMLAnchorElement.prototype.click = function () {
                if (this.download) fetch(this.href).then((r) => r.text()).then((text) => (window.saved = { name: this.download, text }));
            };
        });
        await page.click(`${DIALOG} button[data-id="${SAVE_AS}"]`);
        const saved = await page.waitFor(() => window.saved);
        assert.equal(saved.name, `Ruvo ${score} Web.ruvo-replay`);
        await page.evaluate(() => {
            const open = indexedDB.open('Ruvo');
            open.onsuccess = () => {
                const read = open.result.transaction('replays').objectStore('replays').get('last');
                read.onsuccess = () => (window.stored = read.result);
            };
        });
        const stored = await page.waitFor(() => window.stored);
        assert.equal(stored, saved.text, 'the row\'s replay is the last game\'s');
        const file = join(work, `${engineName}.ruvo-replay`);
        writeFileSync(file, saved.text);
        const verified = execFileSync(SIM, ['--verify', file], { encoding: 'utf8' }).trim();
        assert.match(verified, new RegExp(`^verified score=${score} round=1 ticks=\\d+$`));
        assert.match(saved.text, /^edition web$/m);

        await page.click(`${DIALOG} button[data-id="${COPY_LINK}"]`);
        const link = await page.waitFor(() => document.querySelector('dialog.ruvo-dialog[open] input.link')?.value);
        assert.match(link, /^http:\/\/127\.0\.0\.1:\d+\/#replay=[\w-]+$/);
        await page.press('Enter');
        await waitFor(page, `${DIALOG} input.link`, false);
        // Delete takes the selected row's replay (the row stays in the table), once asked.
        await page.click(`${DIALOG} button[data-id="${DELETE}"]`);
        await waitFor(page, `${DIALOG} button[data-id="7"]`);
        assert.equal(await page.evaluate((s) => [...document.querySelectorAll(s)].at(-1).querySelector('.text').textContent,
            DIALOG), `Delete the replay of 1st ${score} round 1 Web?`);
        await page.press('Escape');
        await waitFor(page, `${DIALOG} button[data-id="7"]`, false);
        assert.equal((await rows(page)).length, 2, 'No keeps it');
        await page.click(`${DIALOG} button[data-id="${DELETE}"]`);
        await waitFor(page, `${DIALOG} button[data-id="6"]`);
        await page.press('Enter');
        await page.waitFor((s) => document.querySelectorAll(s).length === 1, `${DIALOG} select.list option`);
        assert.match((await rows(page))[0], /^Last game/);
        await page.press('Escape');
        await waitFor(page, DIALOG, false);
        await expectNoErrors(page);

        // In a page opened with it, and in one already open that it is put in the address of.
        const linked = await openGame(context, { url: link });
        await other.goto(link);
        for (const shown of [linked, other]) {
            // A browser slows the timers of a page behind another to a tick a second.
            await shown.front();
            await shown.waitFor((t) => window.ruvo.exports.ruvo_probe(13) === t, resultOf(saved.text)[2], 120000);
            assert.deepEqual(await watched(shown), resultOf(saved.text));
            await expectNoErrors(shown);
        }
        await context.close();
    });

    test('a link that would inflate past the limit is refused, the title going on; one put in the address behind ' +
        'a dialog plays once it closes, to its result', async () => {
        const context = await engine.newContext();
        const page = await openGame(context, { settings: EMPTY_TABLE });
        const room = await memory(page);
        const ticks = await page.evaluate(() => window.ruvo.ticks);
        await page.evaluate((hash) => (location.hash = hash), bomb(400));
        await waitFor(page, NOTE);
        assert.deepEqual(await notes(page), [`Replay link: too large: more than ${LIMIT} bytes, where a replay holds ` +
            `at most ${LIMIT}`]);
        // Nor does the module give room to more than the limit.
        assert.deepEqual(await page.evaluate((n) => [window.ruvo.exports.ruvo_link_room(n),
            new TextDecoder().decode(new Uint8Array(window.ruvo.exports.memory.buffer,
                window.ruvo.exports.ruvo_link_error(), window.ruvo.exports.ruvo_watch_link()))], LIMIT + 1),
        [0, `too large: ${LIMIT + 1} bytes, where a replay holds at most ${LIMIT}`]);
        assert.ok(await memory(page) - room <= LIMIT, 'the module took it in');
        await page.waitFor((t) => window.ruvo.ticks > t + 5, ticks);
        assert.equal(await probe(page), TITLE);
        await page.press('Enter');
        await waitFor(page, NOTE, false);

        await page.click(menuTitle('Option'));
        await page.click(menuItem(IDM.OPTION));
        await waitFor(page, DIALOG);
        await page.evaluate((hash) => (location.hash = hash), fragment(deflateRawSync(SCRIPTED)));
        const now = await page.evaluate(() => window.ruvo.ticks);
        await page.waitFor((t) => window.ruvo.ticks > t + 10, now);
        assert.equal(await probe(page, 10), 0, 'it waits for the dialog');
        await page.click(`${DIALOG} button[data-id="1"]`);
        await watching(page, true);
        for (const speed of ['2x', '4x', '8x']) {
            await page.press('+');
            await waitForCaption(page, `REPLAY ${speed}`);
        }
        await watching(page, false);
        assert.deepEqual(await watched(page), resultOf(SCRIPTED));
        await expectNoErrors(page);
        await context.close();
    });

    // The first game's writes are refused after the game was told they were
    // done, the second's at once (the game tells that one itself).
    test('a write the store refuses is told once and leaves no older game as the last', async () => {
        const context = await engine.newContext();
        const page = await openGame(context, { settings: EMPTY_TABLE });
        await page.waitFor(() => window.ruvo.replays.opened && window.ruvo.replays.persistent);
        await page.evaluate((text) => window.ruvo.replays.write('last', text), SCRIPTED);
        await failReplayWrites(page);
        const stored = () => page.evaluate(() => new Promise((resolve) => {
            const open = indexedDB.open('Ruvo');
            open.onsuccess = () => {
                const read = open.result.transaction('replays').objectStore('replays').getAllKeys();
                read.onsuccess = () => resolve(read.result);
            };
        }));
        for (const again of [false, true]) {
            await playOneQuickGame(page, false, again);
            // The name, then the table; the note comes as the title does.
            await fillEdit(page, 410, 'Web');
            await page.press('Enter');
            await waitFor(page, `${DIALOG} [data-id="416"]`);
            await page.press('Enter');
            await waitFor(page, NOTE);
            assert.deepEqual(await notes(page),
                ["This game's replay could not be kept: the replay store refused to write it."]);
            await page.press('Enter');
            // Read after the refused writes and what followed them.
            assert.deepEqual(await stored(), []);
            assert.deepEqual(await notes(page), [], 'told once');
            await openReplays(page);
            assert.deepEqual(await rows(page), []);
            await page.press('Escape');
            await waitFor(page, DIALOG, false);
        }
        await expectNoErrors(page);
        await context.close();
    });
});
