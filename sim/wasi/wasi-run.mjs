// Runs ruvo-sim.wasm (beside this file) under Node's WASI. The whole file
// system is visible as it is natively, and the program starts in our
// folder, so that the paths on the command line mean what they mean to the
// native ruvo-sim.
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { WASI } from 'node:wasi';

const here = dirname(fileURLToPath(import.meta.url));
const wasi = new WASI({
  version: 'preview1',
  args: ['ruvo-sim', ...process.argv.slice(2)],
  env: { RUVO_SIM_FOLDER: process.cwd() },
  preopens: { '/': '/' },
  returnOnExit: true,
});
const module = await WebAssembly.compile(readFileSync(join(here, 'ruvo-sim.wasm')));
const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
try {
  process.exitCode = wasi.start(instance);
} catch (error) {
  // A trap is where the native program would have aborted.
  process.stderr.write(`ruvo-sim: ${error.message}\n`);
  process.exitCode = 134;
}
