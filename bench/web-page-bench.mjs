// The page's benchmark in Debian's headless Chromium (not a test: nothing
// depends on a time). node bench/web-page-bench.mjs BUILD_WEB_DIR [TICKS]
//  - ticks per second of the WebAssembly engine in the page: a game kept in
//    play (a new one started whenever one ends, a dive every seventh tick),
//    the ticks called back to back;
//  - the time from navigation to the first frame on the canvas, ten visits
//    with an empty cache;
//  - the bytes fetched before that first frame, file by file (the soundfont
//    must not be among them; the music only asks whether it is there).
// Prints a Markdown table.
import { execFileSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const source = dirname(dirname(fileURLToPath(import.meta.url)));
const build = resolve(process.argv[2] ?? 'build-web');
const ticks = Number(process.argv[3] ?? 100000);
const modules = join(build, 'web-tests');
if (!existsSync(join(modules, 'node_modules', 'playwright-core'))) {
    execFileSync('mkdir', ['-p', modules]);
    execFileSync('cp', [join(source, 'tests/web/package.json'), join(source, 'tests/web/package-lock.json'), modules]);
    execFileSync('npm', ['ci', '--prefix', modules, '--ignore-scripts', '--no-audit', '--no-fund', '--loglevel=error'],
        { stdio: 'inherit' });
}
const { chromium } = createRequire(join(modules, 'node_modules/'))('playwright-core');
const { serve } = await import(join(source, 'tests/web/serve.mjs'));

const server = await serve(join(build, 'site'));
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox'] });

// A visit with an empty cache and no service worker yet.
async function visit(settings = {}) {
    const context = await browser.newContext({ serviceWorkers: 'block' });
    if (Object.keys(settings).length > 0) {
        const setup = await context.newPage();
        await setup.goto(`${url}help.html`);
        await setup.evaluate((values) => {
            for (const [key, value] of Object.entries(values)) localStorage.setItem(`Ruvo/${key}`, value);
        }, settings);
        await setup.close();
    }
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => window.ruvo?.started && window.ruvo.firstFrameMs !== null, null, { timeout: 60000 });
    return { context, page };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const firstFrames = [];
let fetched = null;
for (let run = 0; run < 10; ++run) {
    const { context, page } = await visit();
    const result = await page.evaluate(() => {
        const first = window.ruvo.firstFrameMs;
        const navigation = performance.getEntriesByType('navigation')[0];
        const files = performance.getEntriesByType('resource')
            // Files only asked about (the music's, whether they are there) bring no body.
            .filter((entry) => entry.startTime < first && entry.encodedBodySize > 0)
            .map((entry) => ({ name: new URL(entry.name).pathname, bytes: entry.encodedBodySize }));
        files.unshift({ name: '/', bytes: navigation.encodedBodySize });
        return { first, files };
    });
    firstFrames.push(result.first);
    fetched ??= result.files;
    await context.close();
}

// The engine: a table no score can enter, so that no dialog opens.
const top = { Score1: '4294967295', Score2: '4294967295', Score3: '4294967295', Score4: '4294967295',
    Score5: '4294967295' };
const { context, page } = await visit(top);
const engine = await page.evaluate((count) => {
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
    return { seconds: (performance.now() - start) / 1000, playing: e.ruvo_probe(0) };
}, ticks);
await context.close();
await browser.close();
server.close();

const total = fetched.reduce((sum, file) => sum + file.bytes, 0);
const soundfont = fetched.some((file) => file.name.endsWith('.sf2'));
const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;
console.log('| What | Result |');
console.log('|---|---|');
console.log(`| WebAssembly engine in Chromium, ${ticks} ticks | ${Math.round(ticks / engine.seconds)} ticks/s |`);
console.log(`| navigation to first frame, 10 visits, empty cache | median ${median(firstFrames).toFixed(0)} ms, ` +
    `slowest ${Math.max(...firstFrames).toFixed(0)} ms |`);
console.log(`| fetched before the first frame | ${kib(total)} in ${fetched.length} files, ` +
    `soundfont ${soundfont ? 'AMONG them' : 'not among them'} |`);
for (const file of fetched.sort((a, b) => b.bytes - a.bytes)) console.log(`| - ${file.name} | ${kib(file.bytes)} |`);
process.exitCode = soundfont ? 1 : 0;
