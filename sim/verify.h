// ruvo-sim --verify FILE...: replay files played again without a window,
// each game's result checked against its file's last line, several files at
// once on threads of their own.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace ruvo::sim {

// One file's answer: its exit status (0 verified, 1 a difference, 2 not a
// replay that can be read) and its one line (the verdict, or why the file
// cannot be read).
struct FileVerdict {
    int status = 2;
    std::string line;
};
FileVerdict VerifyFile(const std::string& path);

// The whole command: every file verified, jobs at a time, and one line a
// file printed in the files' order (stdout for a verdict, stderr for a file
// refused), after the file's name when there is more than one. Returns the
// worst status.
int VerifyFiles(const std::vector<std::string>& paths, unsigned jobs);
// The processors this machine offers (1 where it cannot tell).
unsigned ProcessorCount();

} // namespace ruvo::sim
