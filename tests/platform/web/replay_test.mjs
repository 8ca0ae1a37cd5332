// Replays on the game's page in one browser engine: a replay file made by the
// native ruvo-sim opens and plays to its end with its result, under its keys
// and buttons, also with a byte-order mark and CR LF; a broken or too large
// one is refused; a game played on the page leaves its replays in the
// browser's store, which the native ruvo-sim verifies, saved as a file and as
// a link that plays it in another page; a link that would inflate past the
// limit is refused, one put in the address behind a dialog plays once it
// closes; a write the store refuses is told once and leaves no older game as
// the last; a kept game raced from the list and by a link, its ghost drawn,
// the lead shown and the end told; the day's challenge from the menu; a game
// played for the board that serves the page (a real ruvo-board) sent to it
// and listed, one played offline refused; no board asked for but once on a
// page that no board serves.
//   node replay_test.mjs ENGINE SITE_DIR   (run.sh runs it once per engine;
//   RUVO_SIM names the native ruvo-sim, build/bin/ruvo-sim when not given;
//   RUVO_BOARD the ruvo-board, build/bin/ruvo-board when not given)
// SPDX-License-Identifier: MIT
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, test } from 'node:test';

import { poll } from './browsers.mjs';
import {
    DIALOG, EMPTY_TABLE, IDM, NOTE, TITLE, bomb, button, choose, closeBy, describePage, engineName, enterName,
    expectNoErrors, menuItem, openGame, playOneQuickGame, probe, props, site, siteDir, texts, waitFor, waitForProbe,
    whileRising, withGame,
} from './page_kit.mjs';

const SIM = process.env.RUVO_SIM ?? fileURLToPath(new URL('../../../build/bin/ruvo-sim', import.meta.url));
const SCRIPTED = readFileSync(new URL('../../soak/fuzz/replay-corpus/scripted.ruvo-replay', import.meta.url), 'utf8');
const BOARD = process.env.RUVO_BOARD ?? fileURLToPath(new URL('../../../build/bin/ruvo-board', import.meta.url));
const [SAVE_AS, COPY_LINK, DELETE, RACE, COPY_RACE_LINK, SEND] = [502, 504, 505, 506, 507, 508];
const [PLAY_FOR_BOARD, OPEN_BOARD] = [601, 602];
const LIMIT = 1048576;
const work = mkdtempSync(join(tmpdir(), 'ruvo-replay-test-'));
after(() => rmSync(work, { recursive: true, force: true }));
const TOO_LARGE = (what) => `too large: ${what} bytes, where a replay holds at most ${LIMIT}`;

// A replay's result line as [score, round, ticks].
const resultOf = (text) => text.match(/^result score=(\d+) round=(\d+) ticks=(\d+)/m).slice(1).map(Number);
// The last replay watched to its end, as [score, round, ticks]; watching
// gives it once a replay is being watched (on) or no longer.
const watched = (page) => Promise.all([11, 12, 13].map((field) => probe(page, field)));
const watching = (page, on) => waitForProbe(page, on ? 1 : 0, 10, 120000).then(() => watched(page));
// The replay bar's caption (false while the bar is hidden) and the page's title.
const caption = (page) => page.evaluate(() => [!document.getElementById('replay-bar').hidden &&
    document.getElementById('replay-caption').textContent, document.title]);
const waitForCaption = (page, text) => poll(async () => (await caption(page))[0] === text, 30000, `the caption ${text}`);
const NAME = 'Ruvo Zelp! for Windows 95';
// The replay bar's buttons, by the character each gives.
const BAR = '#replay-bar button[data-character=';
const rows = (page) => texts(page, `${DIALOG} select.list option`);
// The one line of a note, which Enter closes; then (thenEscape) the dialog
// behind it, which Escape closes.
async function expectNote(page, text, thenEscape = false) {
    await waitFor(page, NOTE);
    assert.deepEqual(await texts(page, NOTE), [text]);
    await closeBy(page, 'Enter', NOTE);
    if (thenEscape) await closeBy(page, 'Escape');
}

// The link the Replays list's button copies (to a replay or a race, on this
// site), its box closed again.
async function copyLink(page, id) {
    await page.click(button(id));
    const link = await page.waitFor(() => document.querySelector('dialog.ruvo-dialog[open] input.link')?.value);
    assert.match(link, new RegExp(`^${site.url}#${id === COPY_LINK ? 'replay' : 'race'}=[\\w-]+$`));
    await closeBy(page, 'Enter', `${DIALOG} input.link`);
    return link;
}

// A link put in the address of a page behind its Option dialog waits (the
// probe's field of what it starts stays 0) until the dialog closes.
async function linkBehindDialog(page, link, field) {
    await page.front();
    await choose(page, 'Option', IDM.OPTION);
    await waitFor(page, DIALOG);
    await page.evaluate((hash) => (location.hash = hash), new URL(link).hash);
    await page.waitFor((t) => window.ruvo.ticks > t + 10, await page.evaluate(() => window.ruvo.ticks));
    assert.equal(await probe(page, field), 0, 'it waits for the dialog');
    await page.click(button(1));
}

const openReplays = (page) => page.front().then(() => choose(page, 'Game', IDM.REPLAYS))
    .then(() => waitFor(page, `${DIALOG} select.list`));

// As the browser's file picker gives a file to the Replays list's Open...
// (of zeros when text is a number of bytes).
const chooseFile = (page, name, text) => page.evaluate(({ name, text }) => {
    const input = document.querySelector('dialog.ruvo-dialog[open] input.file');
    const files = new DataTransfer();
    files.items.add(new File([typeof text === 'number' ? new Uint8Array(text) : text], name));
    input.files = files.files;
    input.dispatchEvent(new Event('change'));
}, { name, text });

// The native ruvo-sim's verdict on each replay's text is the one its result line asks for.
const expectVerified = (...replays) => assert.deepEqual(execFileSync(SIM, ['--verify', ...replays.map((text, i) => {
    const file = join(work, `${engineName}-${i}.ruvo-replay`);
    writeFileSync(file, text);
    return file;
})], { encoding: 'utf8' }).trim().split('\n').map((line) => line.replace(/^.*: /, '')),
replays.map((text) => `verified ${text.match(/^result (score=\d+ round=\d+ ticks=\d+)/m)[1]}`));
// Once a game has started, the name dialog, when the game just ended has a
// place in the table, is answered; then the title. Gives the game's replay
// once the page keeps it as the last game's in place of before.
async function endOfGame(page, name, before) {
    await page.waitFor(() => window.ruvo.exports.ruvo_probe(0) !== 1);
    await page.waitFor((s) => document.activeElement === document.querySelector(s) ||
        window.ruvo.exports.ruvo_probe(0) === 1, `${DIALOG} input[data-id="410"]`, 120000);
    if (await probe(page) !== TITLE) await enterName(page, name);
    return page.waitFor((t) => ((last) => last !== t && last)(window.ruvo.replays.read('last')), before);
}

// While a race runs, on every frame the page shows: the field repainted
// then and there, against the game's own frame (the probe's, which never
// holds the ghost). Counts the looks that found the ghost drawn (pixels
// that differ within its square) and those that found pixels that differ
// elsewhere (a square the ghost left, not repainted).
const watchGhost = (page) => page.evaluate(() => {
    const { exports } = window.ruvo;
    const [p, field] = [exports.ruvo_probe, document.getElementById('field').getContext('2d')];
    window.ghost = { drawn: 0, stray: 0 };
    const look = () => {
        if (p(14) !== 1) return;
        if (p(15) === 1) {
            exports.ruvo_paint();
            const shown = new Uint32Array(field.getImageData(0, 0, 384, 200).data.buffer);
            const frame = new Uint32Array(exports.memory.buffer, exports.ruvo_probe_frame(), 384 * 200);
            const [x, y, w, h] = [16, 17, 18, 19].map(p);
            // Shown as R, G, B, A in memory; the frame holds 0x..RRGGBB.
            const differ = [...frame.keys()].filter((i) => (frame[i] & 0xffffff) !==
                ((shown[i] & 255) << 16 | (shown[i] >>> 8 & 255) << 8 | (shown[i] >>> 16 & 255)));
            const inside = (i) => i % 384 >= x && i % 384 < x + w && Math.floor(i / 384) >= y &&
                Math.floor(i / 384) < y + h;
            window.ghost.drawn += differ.some(inside) ? 1 : 0;
            window.ghost.stray += differ.some((i) => !inside(i)) ? 1 : 0;
        }
        requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
});

// The replays in the browser's store, by name.
const stored = (page) => page.evaluate(() => new Promise((resolve) => {
    const open = indexedDB.open('Ruvo');
    open.onsuccess = () => {
        const store = open.result.transaction('replays').objectStore('replays');
        const [names, texts] = [store.getAllKeys(), store.getAll()];
        texts.onsuccess = () => resolve(Object.fromEntries(names.result.map((name, i) => [name, texts.result[i]])));
    };
}));

describePage('replays on the page', () => {
    // Without IndexedDB (nor local storage) the game keeps its replays in memory.
    test('a native replay file plays to its end with its result; its keys and buttons; a broken file, one too large ' +
        'and a link that would inflate past the limit are refused, the title going on',
    () => withGame({ url: new URL('?refuse-storage', site.url).href }, async (page) => {
        // No board serves this page: it offers none, having asked once.
        await page.waitFor(() => window.ruvo.board === false);
        await openReplays(page);
        assert.deepEqual(await rows(page), []);
        // Nor Send in the list.
        assert.deepEqual(await props(page, 'hidden', menuItem(IDM.BOARD), button(SEND)), [true, null]);
        assert.deepEqual(await props(page, 'disabled', button(1)), [true], 'nothing to watch');
        // What the module's memory has grown to (it never gives any back).
        const room = await page.evaluate(() => window.ruvo.exports.memory.buffer.byteLength);
        for (const [give, note] of [
            [() => chooseFile(page, 'cut.ruvo-replay', SCRIPTED.replace(/^result .*\n/m, '')),
                'cut.ruvo-replay: truncated: the result line is missing'],
            // One larger than any replay is refused by its size, before it is read.
            [() => chooseFile(page, 'big.ruvo-replay', 64 << 20), `big.ruvo-replay: ${TOO_LARGE(64 << 20)}`],
            // A link is refused as soon as it inflates past the limit.
            ...['replay', 'race'].map((kind) => [
                () => page.evaluate((hash) => (location.hash = hash), bomb(400).replace('#replay=', `#${kind}=`)),
                `${kind === 'race' ? 'Race' : 'Replay'} link: ${TOO_LARGE(`more than ${LIMIT}`)}`])]) {
            await give();
            await expectNote(page, note);
        }
        // Nor does the module give room to more than the limit, nor has it grown by more to take one in.
        assert.deepEqual(await page.evaluate(([n, room]) => ((e) => [e.ruvo_link_room(n),
            new TextDecoder().decode(new Uint8Array(e.memory.buffer, e.ruvo_link_error(), e.ruvo_watch_link())),
            e.memory.buffer.byteLength - room < n])(window.ruvo.exports), [LIMIT + 1, room]),
        [0, TOO_LARGE(LIMIT + 1), true]);
        // The title goes on.
        await page.waitFor((t) => window.ruvo.ticks > t, await page.evaluate(() => window.ruvo.ticks + 5));
        assert.equal(await probe(page), TITLE);

        // A byte-order mark and CR LF line ends play as the plain file does.
        await chooseFile(page, 'crlf.ruvo-replay', `\ufeff${SCRIPTED.replace(/\n/g, '\r\n')}`);
        await watching(page, true);
        await waitFor(page, DIALOG, false);
        assert.deepEqual(await caption(page), ['REPLAY', `${NAME} - REPLAY`]);
        // Then up to 8x by the bar's + button, and on to its end.
        for (const [act, shown] of [[() => page.press('+'), 'REPLAY 2x'], [() => page.click(`${BAR}"45"]`), 'REPLAY'],
            [() => page.press('F3'), 'REPLAY, paused'], [() => page.press('F3'), 'REPLAY'],
            ...['2x', '4x', '8x'].map((speed) => [() => page.click(`${BAR}"43"]`), `REPLAY ${speed}`])]) {
            await act();
            await waitForCaption(page, shown);
        }
        assert.deepEqual(await watching(page, false), resultOf(SCRIPTED));
        assert.deepEqual([...await caption(page), await probe(page)], [false, NAME, TITLE]);

        // Esc ends a replay before its end.
        await openReplays(page);
        await chooseFile(page, 'scripted.ruvo-replay', SCRIPTED);
        await watching(page, true);
        await page.press('Escape');
        assert.deepEqual(await watching(page, false), [0, 0, 0], 'it did not play to its end');
        assert.deepEqual(site.server.requests.filter((r) => /^\/(api|board|healthz)/.test(r.path))
            .map((r) => `${r.method} ${r.path}`), ['GET /api/v1/board']);
    }));

    test('a kept game verified, saved, linked and raced (ghost, lead, end); a refused write told once, leaving no ' +
        'older last game; the raced game and the day\'s challenge verify',
    () => withGame({ settings: EMPTY_TABLE }, async (page, context) => {
        const other = await openGame(context);
        await playOneQuickGame(page, { name: 'Web' });
        // Another tab of the game hears of the new replays at once.
        await other.waitFor(() => window.ruvo.replays.list().sort().join() === 'last,' +
            window.ruvo.replays.list().find((name) => name.startsWith('row-')));
        // From the browser's store, after a reload once both are stored (a
        // page left sooner may lose its writes).
        await poll(async () => Object.keys(await stored(page)).length === 2, 30000, 'the replays to be stored');
        await openGame(context, { page });
        await page.waitFor(() => window.ruvo.replays.opened && window.ruvo.replays.persistent);
        await openReplays(page);
        const score = await probe(page, 9);
        assert.deepEqual((await rows(page)).map((row) => row.split(/\s+/).join(' ')),
            [`1st ${score} round 1 Web`, `Last game ${score} round 1 Web`]);

        await page.evaluate(() => {
            HTMLAnchorElement.prototype.click = function () {
                if (this.download) fetch(this.href).then((r) => r.text()).then((text) => (window.saved = { name: this.download, text }));
            };
        });
        await page.click(button(SAVE_AS));
        const saved = await page.waitFor(() => window.saved);
        // The row's replay is the last game's.
        assert.deepEqual(saved, { name: `Ruvo ${score} Web.ruvo-replay`, text: (await stored(page)).last });
        assert.match(saved.text, /^edition web$/m);

        const link = await copyLink(page, COPY_LINK);
        // Delete takes the selected row's replay (the row stays in the table)
        // once asked: No (Escape) keeps it, Yes (Enter) does not.
        for (const [answer, left] of [['Escape', 2], ['Enter', 1]]) {
            await page.click(button(DELETE));
            await waitFor(page, button(7));
            assert.equal(await page.evaluate((s) => [...document.querySelectorAll(s)].at(-1).querySelector('.text')
                .textContent, DIALOG), `Delete the replay of 1st ${score} round 1 Web?`);
            await closeBy(page, answer, button(7));
            await page.waitFor(([s, n]) => document.querySelectorAll(s).length === n, [`${DIALOG} select.list option`, left]);
        }
        assert.match((await rows(page))[0], /^Last game/);
        await closeBy(page, 'Escape');

        // From now on IndexedDB aborts every transaction that writes a
        // replay, as it does when the site's storage is full. The first
        // game's writes are refused after the game was told they were done,
        // the second's at once (the game tells that one itself).
        await page.evaluate(() => {
            const put = IDBObjectStore.prototype.put;
            IDBObjectStore.prototype.put = function (...args) {
                const request = put.apply(this, args);
                this.transaction.abort();
                return request;
            };
        });
        for (const again of [false, true]) {
            // The name, then the table; the note comes as the title does.
            await playOneQuickGame(page, { again, name: 'Web' });
            await expectNote(page, "This game's replay could not be kept: the replay store refused to write it.");
            // Read after the refused writes and what followed them.
            assert.deepEqual(await stored(page), {});
            assert.deepEqual(await texts(page, NOTE), [], 'told once');
            await openReplays(page);
            assert.deepEqual(await rows(page), []);
            await closeBy(page, 'Escape');
        }

        // Reloaded, the store writes again (and is empty: the refused games
        // left nothing in it), and the speed is the usual one.
        await openGame(context, { page });
        await playOneQuickGame(page, { speed: '80', name: 'Bea' });
        const beaGame = await page.evaluate(() => window.ruvo.replays.read('last'));
        const [bea] = resultOf(beaGame);
        await openReplays(page);
        const raceLink = await copyLink(page, COPY_RACE_LINK);
        await page.click(button(RACE));
        await waitForProbe(page, 1, 14);
        await watchGhost(page);
        // A dive as the jumper rises takes the player's jumper away from the ghost's.
        await whileRising(page, () => page.press('Space'));
        const lead = await page.waitFor(() => document.getElementById('replay-caption').textContent);
        assert.match(lead, /^RACE vs Bea [+-]\d+$/);
        assert.ok((await caption(page))[1].startsWith(`${NAME} - RACE vs Bea `));
        assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('#replay-bar button')]
            .map((button) => button.hidden)), [true, true, true], 'a race has no replay\'s buttons');
        const raced = await endOfGame(page, 'Ann', beaGame);
        const [mine] = resultOf(raced);
        await expectNote(page, mine > bea ? `You won the race against Bea by ${mine - bea} points, ${mine} to ${bea}.`
            : mine < bea ? `Bea won the race by ${bea - mine} points, ${mine} to ${bea}.`
                : `The race against Bea is a tie, ${mine} points each.`);
        // Drawn, and the squares it left repainted.
        const ghost = await page.evaluate(() => window.ghost);
        assert.ok(ghost.drawn > 0 && ghost.stray === 0, JSON.stringify(ghost));
        assert.deepEqual(await caption(page), [false, NAME]);

        // The day's challenge, from the shared menu, on the title only.
        assert.deepEqual(await texts(page, `.menu-item[data-command="${IDM.DAILY}"]`), ['Daily Challenge']);
        const today = () => new Date().toISOString().slice(0, 10);
        const day = today();
        await choose(page, 'Game', IDM.DAILY);
        const daily = await endOfGame(page, 'Day', raced);
        assert.ok([day, today()].some((d) => daily.includes(`\nchallenge ${d}\n`)), daily.split('\n', 6).join('|'));
        expectVerified(saved.text, raced, daily);

        // In a page opened with it, and in one already open that it is put
        // in the address of behind a dialog: it plays once the dialog closes.
        const linked = await openGame(context, { url: link });
        await linkBehindDialog(other, link, 10);
        for (const shown of [linked, other]) {
            // A browser slows the timers of a page behind another to a tick a second.
            await shown.front();
            await waitForProbe(shown, resultOf(saved.text)[2], 13, 120000);
            assert.deepEqual(await watched(shown), resultOf(saved.text));
            await expectNoErrors(shown);
        }

        // A race link put in the address behind a dialog starts once it closes.
        await linkBehindDialog(other, raceLink, 14);
        await waitForProbe(other, 1, 14);
        await waitForCaption(other, 'RACE vs Bea +0');
        await expectNoErrors(other);
    }));

    // The page served by a real board, which keeps its games in a database
    // of its own and logs each request on its standard error.
    test('a game played for the board that serves the page is sent from the Replays list and listed on the board; ' +
        'one played offline is refused, nothing sent', { skip: !existsSync(BOARD) && `no ${BOARD}` }, async () => {
        const board = spawn(BOARD, ['--listen', '127.0.0.1:0', '--site', siteDir,
            '--database', `sqlite:${join(work, `${engineName}-board.sqlite`)}`], { stdio: ['ignore', 'pipe', 'pipe'] });
        let [listening, log] = ['', ''];
        board.stdout.on('data', (data) => (listening += data));
        board.stderr.on('data', (data) => (log += data));
        const exited = new Promise((resolve) => board.on('exit', resolve));
        try {
            const url = (await poll(() => {
                assert.doesNotMatch(log, /^ruvo-board: /m);
                return listening.match(/listening on (\S+\/)\n/);
            }, 30000, 'ruvo-board to listen'))[1];
            const sent = () => log.split('\n').filter((line) => / POST \/api\/v1\/replays /.test(line)).length;
            // Chromium reports the request to the board gone at the end.
            const gone = /^Failed to load resource: net::ERR_CONNECTION_REFUSED \(http:\/\/[^)]+\/api\/v1\/tokens\)$/;
            await withGame({ url, settings: EMPTY_TABLE, ignore: gone }, async (page, context) => {
                await page.waitFor(() => window.ruvo.board === true);
                await playOneQuickGame(page, { name: 'Ann' });
                await openReplays(page);
                await page.click(button(SEND));
                await expectNote(page, 'This game was not played for a board, so no board can take it. Choose ' +
                    'Board... and Play for the Board, then send that game.', true);
                assert.equal(sent(), 0);
                // Board..., and one of its buttons. Open the Board: the board's own page in a window of its own,
                // which the page's service worker, once it serves the site, leaves to the board.
                const boardDialog = (id) => choose(page, 'Game', IDM.BOARD).then(() => page.click(button(id)));
                const openBoard = async () => {
                    await boardDialog(OPEN_BOARD);
                    const shown = await context.waitForPage(/\/board$/);
                    await page.front();
                    await closeBy(page, 'Escape');
                    return shown;
                };
                await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
                const shown = await openBoard();
                await shown.waitFor(() => document.body?.textContent.includes('No game yet.'));

                await boardDialog(PLAY_FOR_BOARD);
                await waitFor(page, DIALOG, false);
                const game = await endOfGame(page, 'Bea', await page.evaluate(() => window.ruvo.replays.read('last')));
                assert.match(game, /^token [0-9a-f]+$/m);
                const [score, round, ticks] = resultOf(game);
                // A game that asked for no name goes with the last one typed.
                const name = game.match(/^result .* name=(.*)$/m)?.[1] || 'Ann';
                await openReplays(page);
                await page.evaluate((s) => (document.querySelector(s).value = 'last'), `${DIALOG} select.list`);
                await page.click(button(SEND));
                await expectNote(page, `The board took your game: ${score} points, rank 1.`, true);
                assert.equal(sent(), 1);
                const expected = [1, name, score, round, ticks];
                assert.deepEqual((await (await fetch(new URL('api/v1/board', url))).json()).rows
                    .map((row) => [row.rank, row.name, row.score, row.round, row.ticks]), [expected]);

                await openBoard();
                assert.deepEqual(await shown.waitFor(() => document.querySelector('tbody tr') &&
                    [...document.querySelectorAll('tbody tr')].map((tr) => [...tr.cells].slice(0, 5)
                        .map((cell) => cell.textContent))), [expected.map(String)]);

                // A board gone is told in a line, the dialog left open.
                board.kill('SIGTERM');
                await exited;
                await boardDialog(PLAY_FOR_BOARD);
                await expectNote(page, 'The board could not be reached: the connection failed', true);
            });
        } finally {
            board.kill('SIGTERM');
            await exited;
        }
    });
});
