// The game's page in headless Chromium, served from localhost: what a player
// sees and does, from the title screen to a new high score, and offline play.
//   node page_test.mjs SITE_URL CHROMIUM   (run.sh starts the server)
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { createRequire } from 'node:module';

const require = createRequire(`${process.env.RUVO_WEB_MODULES}/`);
const { chromium } = require('playwright-core');

const [siteUrl, chromiumPath] = process.argv.slice(2);

const IDM = { START: 101, PAUSE: 102, SOUND: 104, MUSIC: 105, OPTION: 106 };
const PROBE = { state: 0, score: 1, lives: 2, row: 3, vy: 4, tickInterval: 6 };
const TITLE = 0x01;
const PLAY = 0x02;
const PAUSE = 0x04;
const START_BANNER = 0x0108;

let browser;
before(async () => {
    browser = await chromium.launch({ executablePath: chromiumPath, args: ['--no-sandbox'] });
});
after(async () => {
    await browser?.close();
});

// A fresh browser profile: empty storage, no service worker, no cache.
async function freshContext() {
    return browser.newContext({ viewport: { width: 800, height: 500 } });
}

// Opens the page and waits until the game has started and painted. Every
// console error and uncaught exception of the page is collected in errors.
async function openGame(context, errors, page = null) {
    if (!page) {
        page = await context.newPage();
        page.on('console', (message) => {
            if (message.type() === 'error') errors.push(message.text());
        });
        page.on('pageerror', (error) => errors.push(error.message));
        await page.goto(siteUrl);
    } else {
        await page.reload();
    }
    await page.waitForFunction(() => window.ruvo?.started && window.ruvo.firstFrameMs !== null);
    return page;
}

const probe = (page, field) => page.evaluate((f) => window.ruvo.exports.ruvo_probe(f), field);
const waitForProbe = (page, field, value, timeout = 10000) =>
    page.waitForFunction(([f, v]) => window.ruvo.exports.ruvo_probe(f) === v, [field, value], { timeout });

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

const menuItem = (page, id) => page.locator(`.menu-item[data-command="${id}"]`);
const isChecked = async (page, id) => (await menuItem(page, id).getAttribute('aria-checked')) === 'true';
const isEnabled = (page, id) => menuItem(page, id).isEnabled();
const openDialog = (page) => page.locator('dialog.ruvo-dialog[open]');

// Settings stored before the game's page loads (the game would save its own
// over them when it is left): from another page of the site.
async function openGameWithSettings(context, errors, values) {
    const setup = await context.newPage();
    await setup.goto(new URL('help.html', siteUrl).href);
    await setup.evaluate((entries) => {
        for (const [key, value] of Object.entries(entries)) localStorage.setItem(`Ruvo/${key}`, value);
    }, values);
    await setup.close();
    return openGame(context, errors);
}

const SKY = [0, 255, 255];
const YELLOW = [255, 255, 0];
const BLUE = [0, 0, 255];

describe('the page plays the game', () => {
    test('the title screen, starting, diving and pausing', async () => {
        const context = await freshContext();
        const errors = [];
        const page = await openGame(context, errors);

        assert.equal(await page.locator('canvas').count(), 1);
        assert.deepEqual(await page.evaluate(() => [field.width, field.height]), [384, 200]);
        assert.equal(await probe(page, PROBE.state), TITLE);
        assert.ok(await countColour(page, SKY) > 384 * 200 / 3, 'the sky fills the field');
        assert.ok(await countColour(page, YELLOW, [0, 50, 384, 100]) > 2000, 'the logo stands in the middle');
        assert.ok(await countColour(page, BLUE, [0, 0, 384, 20]) > 300, 'the status line runs along the top');
        assert.deepEqual(await page.locator('.menu-title').allInnerTexts(), ['Game', 'Option', 'Help']);
        assert.equal(await isEnabled(page, IDM.START), true);
        assert.equal(await isEnabled(page, IDM.PAUSE), false);
        assert.equal(await isEnabled(page, IDM.OPTION), false, 'Option is offered only when the settings say so');

        await page.keyboard.press('F2');
        assert.equal(await probe(page, PROBE.state), START_BANNER);
        assert.ok(await colourShowsDuring(page, START_BANNER, BLUE, [96, 60, 192, 80], 100), '"START" shows in the middle');
        await waitForProbe(page, PROBE.state, PLAY);
        assert.equal(await isEnabled(page, IDM.START), false);
        assert.equal(await isEnabled(page, IDM.PAUSE), true);

        // A click or a tap dives, but only while the jumper rises: wait for it
        // to rise, then press on the field between two ticks.
        for (const pointerType of ['mouse', 'touch']) {
            const [before, after] = await page.evaluate((type) => new Promise((resolve) => {
                const p = window.ruvo.exports.ruvo_probe;
                const field = document.getElementById('field');
                const poll = () => {
                    if (p(4) !== -1 || p(3) < 4 || p(3) > 12) {
                        requestAnimationFrame(poll);
                        return;
                    }
                    const before = p(4);
                    field.dispatchEvent(new PointerEvent('pointerdown', { button: 0, bubbles: true, pointerType: type }));
                    resolve([before, p(4)]);
                };
                poll();
            }), pointerType);
            assert.deepEqual([before, after], [-1, 1], `a ${pointerType} press turns the jumper down`);
        }
        await page.keyboard.press('Space');
        await page.waitForFunction(() => window.ruvo.exports.ruvo_probe(4) === -1 && window.ruvo.exports.ruvo_probe(3) < 12);
        await page.keyboard.press('Space');
        assert.equal(await probe(page, PROBE.vy), 1, 'the space bar dives');

        await page.keyboard.press('F3');
        assert.equal(await probe(page, PROBE.state), PAUSE);
        const ticks = await page.evaluate(() => window.ruvo.ticks);
        const score = await probe(page, PROBE.score);
        await page.waitForFunction((t) => window.ruvo.ticks > t + 5, ticks);
        assert.equal(await probe(page, PROBE.score), score, 'nothing moves while paused');
        await page.keyboard.press('F3');
        assert.equal(await probe(page, PROBE.state), PLAY);

        assert.deepEqual(errors, []);
        await context.close();
    });

    test('sound and music switches survive a reload; the function keys stay with the game', async () => {
        const context = await freshContext();
        const errors = [];
        const page = await openGame(context, errors);
        assert.equal(await isChecked(page, IDM.SOUND), false, 'a first visit starts silent');
        assert.equal(await isChecked(page, IDM.MUSIC), false);
        await page.keyboard.press('F4');
        await page.keyboard.press('F5');
        assert.equal(await isChecked(page, IDM.SOUND), true);
        assert.equal(await isChecked(page, IDM.MUSIC), true);
        // F5 toggled the music, not a reload: the page is the same one.
        assert.equal(await page.evaluate(() => window.ruvo.started), true);

        await openGame(context, errors, page);
        assert.equal(await isChecked(page, IDM.SOUND), true);
        assert.equal(await isChecked(page, IDM.MUSIC), true);
        assert.deepEqual(await page.evaluate(() => [localStorage.getItem('Ruvo/Sound'), localStorage.getItem('Ruvo/Music')]),
            ['1', '1']);

        await page.keyboard.press('F4');
        await openGame(context, errors, page);
        assert.equal(await isChecked(page, IDM.SOUND), false);

        const [help] = await Promise.all([context.waitForEvent('page'), page.keyboard.press('F1')]);
        await help.waitForLoadState();
        assert.match(help.url(), /help\.html$/);
        assert.match(await help.title(), /Help/);

        assert.deepEqual(errors, []);
        await context.close();
    });

    test('without its soundfont the music cannot be switched on, and the soundfont waits for the music', async () => {
        const context = await freshContext();
        const asked = [];
        context.on('request', (request) => {
            if (request.url().endsWith('.sf2')) asked.push(request.method());
        });
        const errors = [];
        const page = await openGame(context, errors);
        assert.deepEqual(asked, ['HEAD'], 'a first visit only asks whether the soundfont is there');

        const missing = await freshContext();
        await missing.route('**/TimGM6mb.sf2', (route) => route.fulfill({ status: 404 }));
        const notFound = [];
        const silent = await openGame(missing, notFound);
        await silent.keyboard.press('F5');
        assert.equal(await isChecked(silent, IDM.MUSIC), false);
        assert.equal(notFound.length, 1);
        assert.match(notFound[0], /404/);
        await page.keyboard.press('F5');
        assert.equal(await isChecked(page, IDM.MUSIC), true);
        assert.deepEqual(errors, []);
        await missing.close();
        await context.close();
    });

    test('Exit saves and ends the game, and the page can start it again', async () => {
        const context = await freshContext();
        const errors = [];
        const page = await openGame(context, errors);
        await page.keyboard.press('F4');
        await page.locator('.menu-title', { hasText: 'Game' }).click();
        await page.locator('.menu-item', { hasText: 'Exit' }).click();
        await page.locator('#ended').waitFor();
        assert.match(await page.locator('#ended').innerText(), /Ruvo has ended/);
        assert.equal(await page.evaluate(() => localStorage.getItem('Ruvo/Sound')), '1');
        const ticks = await page.evaluate(() => window.ruvo.ticks);
        await page.waitForTimeout(300);
        assert.equal(await page.evaluate(() => window.ruvo.ticks), ticks, 'no tick after the end');
        await page.locator('#again').click();
        await page.waitForFunction(() => window.ruvo?.started);
        assert.equal(await isChecked(page, IDM.SOUND), true);
        assert.deepEqual(errors, []);
        await context.close();
    });
    test('a browser that refuses storage plays as on a first run', async () => {
        const context = await freshContext();
        await context.addInitScript(() => {
            Object.defineProperty(window, 'localStorage', {
                get() {
                    throw new DOMException('storage is off', 'SecurityError');
                },
            });
        });
        const errors = [];
        const page = await openGame(context, errors);
        assert.equal(await isChecked(page, IDM.SOUND), false);
        await page.keyboard.press('F4');
        assert.equal(await isChecked(page, IDM.SOUND), true);
        await page.keyboard.press('F2');
        await waitForProbe(page, PROBE.state, PLAY);
        // Exit by the keyboard: the Game menu, up from its first item to its last.
        await page.locator('.menu-title', { hasText: 'Game' }).focus();
        await page.keyboard.press('Enter');
        await page.keyboard.press('ArrowUp');
        await page.keyboard.press('Enter');
        await page.locator('#ended').waitFor();
        assert.deepEqual(errors, []);
        await context.close();
    });
});

describe('the dialogs', () => {
    test('About and the table open by their keys and close by Escape or Enter, with the game going on', async () => {
        const context = await freshContext();
        const errors = [];
        const page = await openGame(context, errors);

        await page.keyboard.press('F10');
        await openDialog(page).waitFor();
        assert.match(await openDialog(page).locator('.caption span').innerText(), /Ruvo Zelp!/);
        const before = await fieldPicture(page);
        const ticks = await page.evaluate(() => window.ruvo.ticks);
        await page.waitForFunction((t) => window.ruvo.ticks > t + 5, ticks);
        assert.notEqual(await fieldPicture(page), before, 'the field goes on moving behind the dialog');
        await page.keyboard.press('F2');
        assert.equal(await probe(page, PROBE.state), TITLE, 'the game takes no command while a dialog is open');
        await page.keyboard.press('Escape');
        await openDialog(page).waitFor({ state: 'detached' });

        await page.keyboard.press('F8');
        await openDialog(page).waitFor();
        assert.equal(await openDialog(page).locator('.caption span').innerText(), 'High-Score');
        assert.equal(await openDialog(page).locator('[data-id="411"]').innerText(), '1000');
        await page.keyboard.press('Enter');
        await openDialog(page).waitFor({ state: 'detached' });

        await page.keyboard.press('F2');
        assert.equal(await probe(page, PROBE.state), START_BANNER, 'commands reach the game again');
        assert.deepEqual(errors, []);
        await context.close();
    });

    test('with the option switch set, the Option dialog changes the speed', async () => {
        const context = await freshContext();
        const errors = [];
        const page = await openGameWithSettings(context, errors, { Option: '1' });
        assert.equal(await isEnabled(page, IDM.OPTION), true);

        await page.locator('.menu-title', { hasText: 'Option' }).click();
        await menuItem(page, IDM.OPTION).click();
        await openDialog(page).waitFor();
        const speed = openDialog(page).locator('input[data-id="406"]');
        assert.equal(await speed.inputValue(), '80');
        await speed.fill('30');
        await page.keyboard.press('Enter');
        await openDialog(page).waitFor({ state: 'detached' });
        assert.equal(await probe(page, PROBE.tickInterval), 30);
        assert.equal(await page.evaluate(() => window.ruvo.timerPeriod), 30);

        // Cancel keeps what was there.
        await page.locator('.menu-title', { hasText: 'Option' }).click();
        await menuItem(page, IDM.OPTION).click();
        await openDialog(page).locator('input[data-id="406"]').fill('50');
        await openDialog(page).locator('button', { hasText: 'Cancel' }).click();
        await openDialog(page).waitFor({ state: 'detached' });
        assert.equal(await probe(page, PROBE.tickInterval), 30);
        assert.deepEqual(errors, []);
        await context.close();
    });

    test('a game that ends with a high score asks for a name, kept after a reload', async () => {
        const context = await freshContext();
        const errors = [];
        // An empty table, so that any score enters it.
        const page = await openGameWithSettings(context, errors,
            { Option: '1', Score1: '0', Score2: '0', Score3: '0', Score4: '0', Score5: '0' });

        // One life at the fastest speed: the first fall ends the game.
        await page.locator('.menu-title', { hasText: 'Option' }).click();
        await menuItem(page, IDM.OPTION).click();
        await openDialog(page).locator('input[data-id="406"]').fill('10');
        await openDialog(page).locator('input[data-id="409"]').fill('1');
        await page.keyboard.press('Enter');
        await openDialog(page).waitFor({ state: 'detached' });
        await page.keyboard.press('F2');

        const name = openDialog(page).locator('input[data-id="410"]');
        await name.waitFor({ timeout: 120000 });
        // Twenty two-byte letters: 31 bytes keep fifteen of them, never half of one.
        await name.fill('ü'.repeat(20));
        await page.keyboard.press('Escape');
        await openDialog(page).locator('.close').click();
        assert.equal(await name.count(), 1, 'only OK closes the name dialog');
        await page.keyboard.press('Enter');
        const table = openDialog(page);
        await table.locator('[data-id="416"]').waitFor();
        assert.equal(await table.locator('[data-id="416"]').innerText(), 'ü'.repeat(15));
        await page.keyboard.press('Enter');
        await openDialog(page).waitFor({ state: 'detached' });

        await openGame(context, errors, page);
        await page.keyboard.press('F8');
        assert.equal(await openDialog(page).locator('[data-id="416"]').innerText(), 'ü'.repeat(15));
        assert.notEqual(await openDialog(page).locator('[data-id="411"]').innerText(), '0');
        await page.keyboard.press('Enter');
        assert.deepEqual(errors, []);
        await context.close();
    });
});

describe('offline', () => {
    test('after the first visit the site plays without a network', async () => {
        const context = await freshContext();
        const errors = [];
        const page = await openGame(context, errors);
        await page.evaluate(async () => {
            await navigator.serviceWorker.ready;
            if (!navigator.serviceWorker.controller)
                await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
        });
        await context.setOffline(true);
        await openGame(context, errors, page);
        assert.ok(await countColour(page, SKY) > 384 * 200 / 3);
        await page.keyboard.press('F2');
        assert.equal(await probe(page, PROBE.state), START_BANNER);
        assert.deepEqual(errors, []);
        await context.close();
    });
});
