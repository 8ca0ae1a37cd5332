// Lighthouse on the shipped site, in Debian's Chromium (a benchmark, not a
// test: nothing depends on a figure).
//   node bench/lighthouse.mjs [BUILD_WEB_DIR] [RUNS]   (build-web and 5 when not given)
// Installs Lighthouse as pinned in bench/lighthouse/package-lock.json into
// BUILD_WEB_DIR/lighthouse and serves BUILD_WEB_DIR/site as ./build.sh web
// does (tools/serve_site.py, in a process of its own): gzip-compressed, as a
// web host sends it, and then plain (--plain). For each, it runs Lighthouse's
// desktop and mobile presets RUNS times, every run in a fresh Chromium with a
// fresh profile. Lighthouse throttles as its presets say, by simulation from
// what it saw unthrottled (the mobile preset as a mid-range phone on a slow
// 4G network, with four times this machine's processor time), so a busy
// machine shows in the blocking time. Prints a Markdown table of the
// medians; the JSON reports are kept in BUILD_WEB_DIR/lighthouse/reports/.
// CHROMIUM names another Chromium. Nothing is fetched from outside.
// SPDX-License-Identifier: MIT
import { execFileSync, spawn } from 'node:child_process';
import { cpSync, existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const source = dirname(dirname(fileURLToPath(import.meta.url)));
const [buildArg = 'build-web', runsArg = '5'] = process.argv.slice(2);
const build = resolve(buildArg);
const runs = Number(runsArg);
const chromium = process.env.CHROMIUM ?? '/usr/bin/chromium';

const modules = join(build, 'lighthouse');
const pinned = join(source, 'bench/lighthouse/package-lock.json');
const installed = join(modules, 'package-lock.json');
if (!existsSync(join(modules, 'node_modules', 'lighthouse'))
    || !existsSync(installed) || readFileSync(installed, 'utf8') !== readFileSync(pinned, 'utf8')) {
    mkdirSync(modules, { recursive: true });
    cpSync(join(source, 'bench/lighthouse/package.json'), join(modules, 'package.json'));
    cpSync(pinned, installed);
    execFileSync('npm', ['ci', '--prefix', modules, '--ignore-scripts', '--no-audit', '--no-fund', '--loglevel=error'],
        { stdio: 'inherit' });
}
const from = (path) => import(pathToFileURL(join(modules, 'node_modules', path)).href);
const { default: lighthouse } = await from('lighthouse/core/index.js');
const { default: desktopConfig } = await from('lighthouse/core/config/desktop-config.js');
const { launch } = await from('chrome-launcher/dist/index.js');

// The site as ./build.sh web serves it (tools/serve_site.py, in a process
// of its own on a free port): gzip-compressed, as a web host sends it, and
// plain.
async function serve(plain) {
    const server = spawn('python3', ['-u', join(source, 'tools/serve_site.py'), join(build, 'site'), '0',
        ...(plain ? ['--plain'] : [])], { stdio: ['ignore', 'pipe', 'ignore'] });
    const url = await new Promise((done) => server.stdout.once('data',
        (data) => done(String(data).match(/http:\/\/[^/\s]+\//)[0])));
    return { server, url };
}

// Debian's Chromium as root, with nothing of its own on the network (the
// machine has none outside): no sandbox, no GPU, no QUIC, no first-run
// pages, no updates or syncing in the background; a fresh profile each time.
const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'];

async function audit(url, preset) {
    const profile = mkdtempSync(join(tmpdir(), 'ruvo-lighthouse-'));
    const browser = await launch({ chromePath: chromium, chromeFlags: FLAGS, userDataDir: profile, logLevel: 'silent' });
    try {
        const result = await lighthouse(url, { port: browser.port, output: 'json', logLevel: 'error' },
            preset === 'desktop' ? desktopConfig : undefined);
        return result.lhr;
    } finally {
        await browser.kill();
        rmSync(profile, { recursive: true, force: true });
    }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const reports = join(modules, 'reports');
mkdirSync(reports, { recursive: true });
const rows = [];
let version = '';
for (const [preset, plain] of [['desktop', false], ['mobile', false], ['desktop', true], ['mobile', true]]) {
    const { server, url } = await serve(plain);
    const served = plain ? 'plain' : 'gzip';
    const load = loadavg()[0].toFixed(1);
    const results = [];
    for (let run = 0; run < runs; ++run) {
        const lhr = await audit(url, preset);
        if (lhr.runtimeError) throw new Error(`Lighthouse: ${lhr.runtimeError.code} ${lhr.runtimeError.message}`);
        writeFileSync(join(reports, `${preset}-${served}-${run + 1}.json`), JSON.stringify(lhr));
        version = `Lighthouse ${lhr.lighthouseVersion}, ${lhr.environment.hostUserAgent.match(/Chrome\/[\d.]+/)?.[0]}`;
        const value = (id) => lhr.audits[id].numericValue;
        results.push({
            performance: Math.round(lhr.categories.performance.score * 100),
            others: ['accessibility', 'best-practices', 'seo'].map((c) => Math.round(lhr.categories[c].score * 100)),
            fcp: value('first-contentful-paint'), lcp: value('largest-contentful-paint'),
            tbt: value('total-blocking-time'), cls: value('cumulative-layout-shift'), si: value('speed-index'),
            bytes: value('total-byte-weight'),
        });
        console.error(`${preset}, ${served}, ${run + 1}/${runs}: performance ${results.at(-1).performance}, ` +
            `CLS ${results.at(-1).cls.toFixed(3)}`);
    }
    const of = (key) => median(results.map((r) => r[key]));
    const scores = results.map((r) => r.performance);
    const others = [0, 1, 2].map((i) => Math.min(...results.map((r) => r.others[i]))).join(' / ');
    server.kill();
    rows.push(`| ${preset}, ${served} | ${of('performance')} (${Math.min(...scores)} to ${Math.max(...scores)}) | ` +
        `${others} | ${of('cls').toFixed(3)} | ${(of('fcp') / 1000).toFixed(1)} s | ${(of('lcp') / 1000).toFixed(1)} s | ` +
        `${Math.round(of('tbt'))} ms | ${(of('si') / 1000).toFixed(1)} s | ${Math.round(of('bytes') / 1024)} KiB | ${load} |`);
}
console.log(`\n${version}, ${runs} runs each: medians (performance: median, lowest to highest; the other ` +
    'categories: lowest); the load average as the runs began:\n');
console.log('| Preset, served | Performance | Accessibility / best practices / SEO | CLS | FCP | LCP | TBT | Speed index | ' +
    'Bytes | Load |');
console.log('|---|---|---|---|---|---|---|---|---|---|');
for (const row of rows) console.log(row);
