// ruvo-sim on Windows: its output byte for byte as on Linux, with no line
// ends turned into CR LF, from the first byte on (before main runs).
// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

__attribute__((constructor)) void BinaryOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace
