// The page's reader of replay and race links (site/links.js, with the web
// build's tables) fuzzed under Node: fragments made from the replays of the
// fuzz corpus, mutated as text, as compressed bytes and spliced, random ones, and
// links that inflate far past the replay's size limit. Every one must come
// back as a replay's text within the limit or as a one-line refusal: never a
// throw, never a hang, never more than the limit; the corpus's own links
// must read back as their files, and a link of 400 MB inflated must cost
// next to no memory.
//   node link_fuzz.mjs BUILD_WEB_DIR SECONDS [SEED]
// SPDX-License-Identifier: MIT
import assert from 'node:assert/strict';
import { copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { pathToFileURL } from 'node:url';
import { deflateRawSync } from 'node:zlib';

import { bomb, fragment as link } from './page_kit.mjs';

const [build, seconds, seedText] = process.argv.slice(2);
if (!build || !(Number(seconds) > 0)) throw new Error('usage: node link_fuzz.mjs BUILD_WEB_DIR SECONDS [SEED]');
// Browsers have raw deflate streams; Node has them from 20.12 on. Before,
// the same streams come from its zlib, so that the reader runs as it stands.
try {
    new DecompressionStream('deflate-raw');
} catch {
    const { Duplex } = await import('node:stream');
    const zlib = await import('node:zlib');
    globalThis.CompressionStream = function () { return Duplex.toWeb(zlib.createDeflateRaw()); };
    globalThis.DecompressionStream = function () { return Duplex.toWeb(zlib.createInflateRaw()); };
}
// The reader beside the web build's tables, which it imports; both are ES
// modules, which Node before 20.19 takes from a .js file only when told.
const work = mkdtempSync(join(tmpdir(), 'ruvo-link-fuzz-'));
writeFileSync(join(work, 'package.json'), '{"type": "module"}\n');
copyFileSync(new URL('../../../platform/web/site/links.js', import.meta.url), join(work, 'links.js'));
copyFileSync(join(build, 'platform/web/tables.js'), join(work, 'tables.js'));
const [{ readReplayFragment }, { REPLAY_MAX_BYTES }] = await Promise.all(['links.js', 'tables.js']
    .map((name) => import(pathToFileURL(join(work, name)).href)));
rmSync(work, { recursive: true, force: true });

// xorshift32: a run is played again from its seed.
const seed = Number(seedText ?? Math.floor(Math.random() * 2 ** 31)) >>> 0 || 1;
let state = seed;
const random = (n) => {
    state ^= state << 13;
    state ^= state >>> 17;
    state ^= state << 5;
    return (state >>> 0) % n;
};
const pick = (list) => list[random(list.length)];

const MARK = '#replay=';
const corpusDir = new URL('../../soak/fuzz/replay-corpus/', import.meta.url);
const corpus = readdirSync(corpusDir).map((name) => readFileSync(new URL(name, corpusDir), 'utf8'));
const packed = corpus.map((text) => deflateRawSync(Buffer.from(text)));

// Each run answers with a replay's text or a one-line refusal, in time.
let runs = 0;
async function read(fragment) {
    const timer = new AbortController();
    const hung = sleep(30000, `no answer in 30 s to ${fragment.slice(0, 80)}...`, { signal: timer.signal })
        .then(assert.fail);
    const answer = await Promise.race([readReplayFragment(fragment), hung]).finally(() => timer.abort());
    ++runs;
    if (answer === null) return assert.ok(!/^#(replay|race)=/.test(fragment), 'a link read as none');
    assert.equal(answer.race, fragment.startsWith('#race='));
    if ('refusal' in answer) return assert.match(answer.refusal, /^[^\n]+$/);
    assert.ok(Buffer.byteLength(answer.text) <= REPLAY_MAX_BYTES, `${Buffer.byteLength(answer.text)} bytes passed`);
    return answer.text;
}

// The corpus reads back whole; a link of 400 MB inflated is refused within
// a few megabytes of memory (the peak, as the system counts it).
for (const [i, bytes] of packed.entries()) assert.equal(await read(link(bytes)), corpus[i]);
const peak = process.resourceUsage().maxRSS;
assert.match((await readReplayFragment(bomb(400))).refusal, /^too large: more than 1048576 bytes/);
const grown = (process.resourceUsage().maxRSS - peak) / 1024;
assert.ok(grown < 64, `inflating the bomb took ${grown.toFixed(0)} MB more`);

const ALPHABET = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_';
const ODD = [...'%=+/ \u00e9\u{1F600}', '%2', '%ZZ', '%41', '%E2%82'];
const mutateBytes = (bytes) => {
    const out = Buffer.from(bytes);
    for (let n = 1 + random(4); n > 0 && out.length; --n) out[random(out.length)] ^= 1 << random(8);
    return random(4) === 0 ? out.subarray(0, random(out.length + 1)) : out;
};
const mutateText = (text) => {
    const at = random(text.length + 1);
    switch (random(5)) {
    case 0: return text.slice(0, at);
    case 1: return text.slice(0, at) + pick(ALPHABET) + text.slice(at + 1);
    case 2: return text.slice(0, at) + pick(ODD) + text.slice(at);
    case 3: return text.slice(0, at) + text.slice(random(text.length + 1));
    default: return text.replace(MARK, pick(['', '#replay', '#Replay=', MARK + MARK, '#race=', '#race=#race=']));
    }
};
const makers = [
    () => link(mutateBytes(pick(packed))),
    () => mutateText(link(pick(packed))),
    () => link(Buffer.concat([pick(packed).subarray(0, random(600)), pick(packed).subarray(random(600))])),
    () => link(deflateRawSync(Buffer.from(Array.from({ length: random(4096) }, () => random(256))))),
    () => MARK + Array.from({ length: random(2048) }, () => pick(ALPHABET)).join(''),
    () => link(deflateRawSync(Buffer.from(pick(corpus).repeat(1 + random(200))))),
    () => bomb(1 + random(8)),
];
const end = Date.now() + Number(seconds) * 1000;
while (Date.now() < end) await read(pick(makers)());
console.log(`link fuzz (seed ${seed}): ${runs} fragments read, none threw, hung or passed ${REPLAY_MAX_BYTES} bytes`);
