// The high-score board that serves the page, if one does: the page asks its
// own address once, and only a board's answer there makes the game offer
// Board... and Send to Board. Every request goes to the page's own address
// (http or https, as the page came), waits 10 seconds at most and reads at
// most BOARD_ANSWER_MAX_BYTES of the answer.
// SPDX-License-Identifier: MIT
import { BOARD_ANSWER_MAX_BYTES } from './tables.js';

const WAIT_MS = 10000;

// A board's address relative to the page's own (a board behind a proxy may
// serve the page below a path of its own).
const boardUrl = (path) => new URL(path, document.baseURI).href;

// The body as text, refused as soon as it passes the limit.
async function limitedText(answer) {
    const tooLarge = () => new Error(`its answer is larger than ${BOARD_ANSWER_MAX_BYTES} bytes`);
    if (Number(answer.headers.get('content-length')) > BOARD_ANSWER_MAX_BYTES) {
        answer.body?.cancel().catch(() => {});
        throw tooLarge();
    }
    const reader = answer.body.getReader();
    const parts = [];
    let size = 0;
    for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        size += value.length;
        if (size > BOARD_ANSWER_MAX_BYTES) {
            reader.cancel().catch(() => {});
            throw tooLarge();
        }
        parts.push(value);
    }
    const bytes = new Uint8Array(size);
    parts.reduce((at, part) => (bytes.set(part, at), at + part.length), 0);
    return new TextDecoder().decode(bytes);
}

// { status, body }: the board's answer; status 0 when there is none, the
// body then saying why in a few words.
export async function askBoard(path, body) {
    try {
        const answer = await fetch(boardUrl(path), { method: 'POST', body, cache: 'no-store',
            headers: { 'content-type': 'text/plain; charset=utf-8' }, signal: AbortSignal.timeout(WAIT_MS) });
        return { status: answer.status, body: await limitedText(answer) };
    } catch (error) {
        const why = error.name === 'TimeoutError' ? `no answer within ${WAIT_MS / 1000} seconds`
            : error.name === 'TypeError' ? 'the connection failed' : error.message;
        return { status: 0, body: why };
    }
}

// Whether a board serves the page: its list of games answers at the page's
// own address as a board's does.
export async function findBoard() {
    try {
        const answer = await fetch(boardUrl('api/v1/board?limit=1'), { cache: 'no-store',
            signal: AbortSignal.timeout(WAIT_MS) });
        if (!answer.ok || !/^application\/json\b/.test(answer.headers.get('content-type') ?? '')) {
            answer.body?.cancel().catch(() => {});
            return false;
        }
        return Array.isArray(JSON.parse(await limitedText(answer)).rows);
    } catch {
        return false;
    }
}
