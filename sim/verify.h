// ruvo-sim --verify FILE: a replay file played again without a window, and
// its game's result checked against the file's last line.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>

#include "app/replay_file.h"
#include "render/resources.h"

namespace ruvo::sim {

// What the replayed game came to, beside what the file says: "verified
// score=S round=R ticks=T" when they agree, else the first difference.
struct Verdict {
    bool verified = false;
    std::string line;
};
Verdict VerifyReplay(Replay replay, const ResourceLibrary* resources);

// The whole command: reads and verifies the file, prints the verdict (or the
// reason the file cannot be read) and returns the exit status: 0 verified,
// 1 a difference, 2 not a replay that can be read.
int VerifyFile(const std::string& path, const ResourceLibrary* resources);

} // namespace ruvo::sim
