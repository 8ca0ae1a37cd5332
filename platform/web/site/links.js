// Links that play a replay, or race it: the page's address with the
// replay's text, compressed (raw deflate) and in base64url, as its fragment
// (#replay=... or #race=...), which never reaches a server. A replay of a few minutes makes a link of a
// few kilobytes. A link comes from anyone: it is inflated a little at a time
// and refused as soon as its text passes the replay's size limit, so that a
// small link that would inflate to hundreds of megabytes costs next to
// nothing. The page and the tests' fuzzer under Node both read links here.
// SPDX-License-Identifier: MIT
import { REPLAY_MAX_BYTES, replayTooLarge } from './tables.js';

const MARKS = { replay: '#replay=', race: '#race=' };
const FORMAT = 'deflate-raw';
// The most the compressed text of a replay within the limit takes (stored
// blocks at worst: five bytes more for each 65,535), and so its base64url.
const MAX_PACKED_BYTES = REPLAY_MAX_BYTES + 5 * Math.ceil(REPLAY_MAX_BYTES / 65535) + 16;
const MAX_LINK_CHARACTERS = Math.ceil(MAX_PACKED_BYTES / 3) * 4;
// Inflated a piece at a time: a piece of deflate makes at most about a
// thousand times its size.
const PIECE_BYTES = 512;

async function through(stream, bytes) {
    const piped = new Blob([bytes]).stream().pipeThrough(stream);
    return new Uint8Array(await new Response(piped).arrayBuffer());
}

function toBase64Url(bytes) {
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
    const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

// The link to the page that plays the replay in text, or (race) races it.
export async function replayLink(text, race = false) {
    const packed = await through(new CompressionStream(FORMAT), new TextEncoder().encode(text));
    const page = new URL(location.href);
    page.hash = '';
    return `${page.href.replace(/#$/, '')}${race ? MARKS.race : MARKS.replay}${toBase64Url(packed)}`;
}

// The bytes that packed inflates to, or null as soon as they pass limit.
// The pieces go in only as fast as the inflated bytes are read, so that no
// more than a piece's worth waits unread.
async function inflateWithin(packed, limit) {
    let at = 0;
    const pieces = new ReadableStream({
        pull(controller) {
            if (at >= packed.length) controller.close();
            else controller.enqueue(packed.subarray(at, (at += PIECE_BYTES)));
        },
    }, { highWaterMark: 0 });
    const reader = pieces.pipeThrough(new DecompressionStream(FORMAT)).getReader();
    const chunks = [];
    let size = 0;
    for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        size += value.length;
        if (size > limit) {
            reader.cancel().catch(() => {});
            return null;
        }
        chunks.push(value);
    }
    const bytes = new Uint8Array(size);
    size = 0;
    for (const chunk of chunks) bytes.set(chunk, (size += chunk.length) - chunk.length);
    return bytes;
}

// What a fragment holds: { text, race } for a replay's text (race: whether
// the link races it), { refusal, race } with a one-line reason when it holds
// a link that cannot be read (cut short, altered, too large), or null when
// it holds no link to a replay. Never throws.
export async function readReplayFragment(fragment) {
    const race = fragment.startsWith(MARKS.race);
    const mark = race ? MARKS.race : MARKS.replay;
    if (!fragment.startsWith(mark)) return null;
    const characters = fragment.length - mark.length;
    const tooLong = () => ({ race, refusal: `too long: ${characters} characters, where a link to a replay holds ` +
        `at most ${MAX_LINK_CHARACTERS}` });
    // Before decoding: an escape takes three characters for one.
    if (characters > 3 * MAX_LINK_CHARACTERS) return tooLong();
    try {
        const encoded = decodeURIComponent(fragment.slice(mark.length));
        if (encoded.length > MAX_LINK_CHARACTERS) return tooLong();
        const bytes = await inflateWithin(fromBase64Url(encoded), REPLAY_MAX_BYTES);
        if (bytes === null) return { race, refusal: replayTooLarge(`more than ${REPLAY_MAX_BYTES}`) };
        return { race, text: new TextDecoder('utf-8', { fatal: true }).decode(bytes) };
    } catch {
        return { race, refusal: 'the link is cut short or altered' };
    }
}

// Copies the link that the promise gives, asked for while the player's
// click still counts (some browsers copy only then); answers whether the
// browser let the page copy it.
export async function copyLink(link) {
    try {
        if (typeof ClipboardItem === 'function') {
            const blob = link.then((text) => new Blob([text], { type: 'text/plain' }));
            await navigator.clipboard.write([new ClipboardItem({ 'text/plain': blob })]);
        } else {
            await navigator.clipboard.writeText(await link);
        }
        return true;
    } catch {
        try {
            await navigator.clipboard.writeText(await link);
            return true;
        } catch {
            return false;
        }
    }
}
