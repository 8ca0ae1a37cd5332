// Links that play a replay: the page's address with the replay's text,
// compressed (raw deflate) and in base64url, as its fragment (#replay=...),
// which never reaches a server. A replay of a few minutes makes a link of a
// few kilobytes.
// SPDX-License-Identifier: MIT
const MARK = '#replay=';
const FORMAT = 'deflate-raw';

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

// The link to the page that plays the replay in text.
export async function replayLink(text) {
    const packed = await through(new CompressionStream(FORMAT), new TextEncoder().encode(text));
    const page = new URL(location.href);
    page.hash = '';
    return `${page.href.replace(/#$/, '')}${MARK}${toBase64Url(packed)}`;
}

// The replay's text in a fragment, or null when the fragment holds none;
// throws when it holds one that cannot be read (cut short, altered).
export async function replayInFragment(fragment) {
    if (!fragment.startsWith(MARK)) return null;
    const packed = fromBase64Url(decodeURIComponent(fragment.slice(MARK.length)));
    return new TextDecoder('utf-8', { fatal: true }).decode(await through(new DecompressionStream(FORMAT), packed));
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
