// A record wired to the in-memory machine (window, settings, sounds, music,
// dialogs and help, letters from the fixed renderer), and the fixture of the
// tests of one folder's routines: each folder's fixture starts it as far as
// it needs.
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"
#include "support/fixed_text.h"

namespace ruvo::testing {

struct Machine {
    Machine() { record.host = {&text, &settings, &wave, &music, &dialogs, &help}; }
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    FixedText text;
    HeadlessWindow window;
    MemorySettings settings;
    RecordingWavePlayer wave;
    StandInMusic music;
    ScriptedDialogs dialogs;
    RecordingHelp help;
    GameRecord record;
};

class RecordFixture : public ::testing::Test, public Machine {
  protected:
    GameRecord& R() { return record; }
};

} // namespace ruvo::testing
