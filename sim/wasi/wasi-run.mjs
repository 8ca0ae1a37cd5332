// node wasi-run.mjs PROGRAM.wasm ARGUMENTS...: runs a WASI program under
// Node's WASI as if it were native. The whole file system is visible as it
// is, and the program starts in our folder (start_folder.cpp), so that the
// paths on its command line mean what they mean to the native program.
// SPDX-License-Identifier: MIT
import { readFileSync } from 'node:fs';
import { basename } from 'node:path';
import { WASI } from 'node:wasi';

const [file, ...args] = process.argv.slice(2);
const name = basename(file, '.wasm');
const wasi = new WASI({
  version: 'preview1',
  args: [name, ...args],
  env: { RUVO_WASI_FOLDER: process.cwd() },
  preopens: { '/': '/' },
  returnOnExit: true,
});
const module = await WebAssembly.compile(readFileSync(file));
const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
try {
  process.exitCode = wasi.start(instance);
} catch (error) {
  // A trap is where the native program would have aborted.
  process.stderr.write(`${name}: ${error.message}\n`);
  process.exitCode = 134;
}
