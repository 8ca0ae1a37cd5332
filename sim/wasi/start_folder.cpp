// A WASI program starts in "/", whatever folder it was started from. The
// launcher passes the folder it was started in, so that relative paths on
// the command line name the files they name for the native program.
// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <cstdlib>

namespace {

__attribute__((constructor)) void EnterStartFolder()
{
    if (const char* folder = std::getenv("RUVO_WASI_FOLDER"))
        chdir(folder);
}

} // namespace
