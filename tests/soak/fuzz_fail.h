// What the fuzz targets do with an input that breaks a rule: say which rule
// and what broke it, under the target's name, then abort, so that libFuzzer
// keeps the input.
// SPDX-License-Identifier: MIT
#pragma once

#include <errno.h> // program_invocation_short_name

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "%s: %s\n%s\n", program_invocation_short_name, what, detail.c_str());
    std::abort();
}
