// The page's benchmark in each browser engine (not a test: nothing depends
// on a time). node bench/web-page-bench.mjs BUILD_WEB_DIR [TICKS] [ENGINE...]
// (chromium firefox webkit when none is named; WebKit's MiniBrowser runs on
// an X server of the benchmark's own when DISPLAY is not set)
//  - the time from navigation to the first picture on the canvas (the
//    window's first paint: the title's scenery) and to the first tick's
//    frame (with the title, the sun and the status line), ten visits with
//    an empty cache, each in a fresh profile;
//  - the bytes fetched before that first frame, file by file (the soundfont
//    must not be among them; the music only asks whether it is there);
//  - ticks per second of the WebAssembly engine in the page: a game kept in
//    play (a new one started whenever one ends, a dive every seventh tick),
//    the ticks called back to back.
// Prints a Markdown table per engine.
// SPDX-License-Identifier: MIT
import { execFileSync, spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const source = dirname(dirname(fileURLToPath(import.meta.url)));
const [buildArg = 'build-web', ticksArg = '100000', ...engineArgs] = process.argv.slice(2);
const build = resolve(buildArg);
const ticks = Number(ticksArg);
const engines = engineArgs.length > 0 ? engineArgs : ['chromium', 'firefox', 'webkit'];
const modules = join(build, 'web-tests');
if (!existsSync(join(modules, 'node_modules', 'selenium-webdriver'))) {
    execFileSync('mkdir', ['-p', modules]);
    execFileSync('cp', [join(source, 'tests/platform/web/package.json'), join(source, 'tests/platform/web/package-lock.json'), modules]);
    execFileSync('npm', ['ci', '--prefix', modules, '--ignore-scripts', '--no-audit', '--no-fund', '--loglevel=error'],
        { stdio: 'inherit' });
}
const { launch } = await import(join(source, 'tests/platform/web/browsers.mjs'));

// WebKit's MiniBrowser needs an X server; profiles and caches go to a scratch folder.
const scratch = mkdtempSync(join(tmpdir(), 'ruvo-page-bench-'));
Object.assign(process.env, { HOME: scratch, XDG_CONFIG_HOME: join(scratch, 'config'),
    XDG_CACHE_HOME: join(scratch, 'cache'), XDG_DATA_HOME: join(scratch, 'data') });
let xvfb = null;
if (engines.includes('webkit') && !process.env.DISPLAY) {
    xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1920x1080x24', '-nolisten', 'tcp'],
        { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    const display = await new Promise((done) => xvfb.stdio[3].once('data', (data) => done(String(data).trim())));
    process.env.DISPLAY = `:${display}`;
}

// The server runs in a process of its own, so that the drivers' work in this
// one does not hold up its answers. It serves the tests' build of the site,
// whose game module has the probe (ruvo_probe) the benchmark reads; it is
// the shipped one's size but for the probe.
const server = spawn(process.execPath, [join(source, 'tests/platform/web/serve.mjs'), join(build, 'test-site'), '0'],
    { stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((done) => server.stdout.once('data', (data) => done(String(data).trim())));
const served = async (reset = false) => (await fetch(`${url}.bytes${reset ? '?reset' : ''}`)).json();
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;

async function visit(engine, settings = {}) {
    const context = await engine.newContext();
    const page = await context.newPage();
    if (Object.keys(settings).length > 0) {
        await page.goto(`${url}help.html`);
        await page.evaluate((values) => {
            for (const [key, value] of Object.entries(values)) localStorage.setItem(`Ruvo/${key}`, value);
        }, settings);
    }
    await page.goto(url);
    await page.waitFor(() => window.ruvo?.started && window.ruvo.firstFrameMs !== null, null, 60000);
    return { context, page };
}

let failed = false;
for (const name of engines) {
    const engine = await launch(name, join(modules, 'node_modules'));
    const firstPictures = [];
    const firstFrames = [];
    let fetched = null;
    for (let run = 0; run < 10; ++run) {
        await served(true);
        const { context, page } = await visit(engine);
        // The files asked for before the first frame, from the page's own
        // timeline; their sizes are what the server sent for them, nothing
        // where it was only asked whether a file is there (HEAD).
        const result = await page.evaluate(() => {
            const first = window.ruvo.firstFrameMs;
            const paths = performance.getEntriesByType('resource').filter((entry) => entry.startTime < first)
                .map((entry) => new URL(entry.name).pathname);
            return { first, picture: window.ruvo.firstPictureMs, paths };
        });
        firstPictures.push(result.picture);
        firstFrames.push(result.first);
        if (fetched === null) {
            const sent = new Map((await served()).filter((r) => r.method === 'GET').map((r) => [r.path, r.bytes]));
            fetched = ['/', ...new Set(result.paths)].map((path) => ({ path, bytes: sent.get(path) ?? 0 }));
        }
        await context.close();
    }
    const files = fetched.filter((file) => file.bytes > 0);
    const soundfont = files.some((file) => file.path.endsWith('.sf2'));

    // The engine: a table no score can enter, so that no dialog opens.
    const top = Object.fromEntries([1, 2, 3, 4, 5].map((row) => [`Score${row}`, '4294967295']));
    const { context, page } = await visit(engine, top);
    const engineRun = await page.evaluate((count) => {
        const e = window.ruvo.exports;
        const run = (n) => {
            for (let i = 0; i < n; ++i) {
                if ((e.ruvo_probe(0) & 0xFF) === 1) e.ruvo_command(101);
                if (i % 7 === 0) e.ruvo_click();
                e.ruvo_tick(1);
            }
        };
        run(1000); // warm up: the letters are drawn once, the code compiled
        const start = performance.now();
        run(count);
        return { seconds: (performance.now() - start) / 1000 };
    }, ticks);
    await context.close();
    await engine.close();

    const total = files.reduce((sum, file) => sum + file.bytes, 0);
    console.log(`\n${name} (${engine.version}):\n`);
    console.log('| What | Result |');
    console.log('|---|---|');
    console.log(`| WebAssembly engine in the page, ${ticks} ticks | ${Math.round(ticks / engineRun.seconds)} ticks/s |`);
    const spread = (values) => `median ${median(values).toFixed(0)} ms, slowest ${Math.max(...values).toFixed(0)} ms`;
    console.log(`| navigation to the first picture (the title's scenery), 10 visits, empty cache | ${spread(firstPictures)} |`);
    console.log(`| navigation to the first tick's frame (the title drawn), same visits | ${spread(firstFrames)} |`);
    console.log(`| fetched before the first tick's frame | ${kib(total)} in ${files.length} files, ` +
        `soundfont ${soundfont ? 'AMONG them' : 'not among them'} |`);
    for (const file of files.sort((a, b) => b.bytes - a.bytes)) console.log(`| - ${file.path} | ${kib(file.bytes)} |`);
    failed ||= soundfont;
}
server.kill();
xvfb?.kill();
rmSync(scratch, { recursive: true, force: true });
process.exitCode = failed ? 1 : 0;
