// The little of WASI that the C and C++ libraries ask for in a reactor that
// reads no files: output to the console, the clocks, random bytes, an empty
// environment and command line, and the exit. Everything else says "not
// supported", which the libraries take as a missing feature.
// SPDX-License-Identifier: MIT
const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_NOSYS = 52;

export class ExitStatus extends Error {
    constructor(code) {
        super(`exit ${code}`);
        this.code = code;
    }
}

export function wasiImports(getMemory) {
    const view = () => new DataView(getMemory().buffer);
    const bytes = () => new Uint8Array(getMemory().buffer);
    const decoder = new TextDecoder();
    const pending = { 1: '', 2: '' };

    function emit(fd, text) {
        pending[fd] += text;
        let newline;
        while ((newline = pending[fd].indexOf('\n')) >= 0) {
            const line = pending[fd].slice(0, newline);
            pending[fd] = pending[fd].slice(newline + 1);
            if (fd === 1) console.log(line);
            else console.warn(line);
        }
    }

    return {
        fd_write(fd, iovs, iovsLength, writtenOut) {
            if (fd !== 1 && fd !== 2) return ERRNO_BADF;
            const v = view();
            let written = 0;
            for (let i = 0; i < iovsLength; ++i) {
                const base = v.getUint32(iovs + i * 8, true);
                const length = v.getUint32(iovs + i * 8 + 4, true);
                emit(fd, decoder.decode(bytes().subarray(base, base + length)));
                written += length;
            }
            v.setUint32(writtenOut, written, true);
            return ERRNO_SUCCESS;
        },
        fd_close: () => ERRNO_SUCCESS,
        fd_seek: () => ERRNO_NOSYS,
        fd_read: () => ERRNO_BADF,
        fd_fdstat_get(fd, out) {
            if (fd > 2) return ERRNO_BADF;
            const v = view();
            v.setUint8(out, 2); // a character device
            v.setUint16(out + 2, 0, true);
            v.setBigUint64(out + 8, 0n, true);
            v.setBigUint64(out + 16, 0n, true);
            return ERRNO_SUCCESS;
        },
        fd_prestat_get: () => ERRNO_BADF,
        fd_prestat_dir_name: () => ERRNO_BADF,
        path_open: () => ERRNO_NOSYS,
        clock_time_get(clockId, precision, out) {
            const nanoseconds = clockId === 0
                ? BigInt(Math.round((performance.timeOrigin + performance.now()) * 1e6))
                : BigInt(Math.round(performance.now() * 1e6));
            view().setBigUint64(out, nanoseconds, true);
            return ERRNO_SUCCESS;
        },
        clock_res_get(clockId, out) {
            view().setBigUint64(out, 1000n, true);
            return ERRNO_SUCCESS;
        },
        random_get(buffer, length) {
            // getRandomValues fills at most 64 KiB at a time.
            for (let offset = 0; offset < length; offset += 65536)
                crypto.getRandomValues(bytes().subarray(buffer + offset, buffer + Math.min(length, offset + 65536)));
            return ERRNO_SUCCESS;
        },
        environ_sizes_get(countOut, sizeOut) {
            view().setUint32(countOut, 0, true);
            view().setUint32(sizeOut, 0, true);
            return ERRNO_SUCCESS;
        },
        environ_get: () => ERRNO_SUCCESS,
        args_sizes_get(countOut, sizeOut) {
            view().setUint32(countOut, 0, true);
            view().setUint32(sizeOut, 0, true);
            return ERRNO_SUCCESS;
        },
        args_get: () => ERRNO_SUCCESS,
        proc_exit(code) {
            throw new ExitStatus(code);
        },
        sched_yield: () => ERRNO_SUCCESS,
    };
}
