// Each case loads the library afresh, by export name or by ordinal, while holding the terminal
// lock; it starts a recording terminal when it needs one.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atom_table.h"
#include "loaded_dbgclient.h"
#include "recording_terminal.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"

// The class letters a recorded line carries.
const char Debug = VORNAK_LETTER_DEBUG;
const char Log = VORNAK_LETTER_LOG;
const char Statistic = VORNAK_LETTER_STATISTIC;
const char Error = VORNAK_LETTER_ERROR;
const char Separator = VORNAK_LETTER_SEPARATOR;
// An empty format that is not a literal: compilers that check formats warn about an empty literal.
const std::string EmptyFormat;

class DbgClientTest : public ::testing::TestWithParam<ExportLookup> {
protected:
    void SetUp() override { ASSERT_TRUE(dbg.Loaded()); }

    void StartTerminal() { ASSERT_TRUE(terminal.Start()); }

    // Stops the terminal and returns everything it saw.
    std::vector<TerminalRecord> TerminalSaw()
    {
        terminal.Stop();
        return terminal.Records();
    }

    TerminalTestLock lock;
    LoadedDbgClient dbg{GetParam()};
    ProtocolNumbers number = RegisteredProtocolNumbers();
    RecordingTerminal terminal;
};

#define INSTANTIATE_BY_NAME_AND_ORDINAL(Fixture)                                                     \
    INSTANTIATE_TEST_SUITE_P(, Fixture, ::testing::Values(ExportLookup::ByName, ExportLookup::ByOrdinal), \
                             [](const ::testing::TestParamInfo<ExportLookup>& info) { return LookupName(info.param); })
