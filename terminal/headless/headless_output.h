// Where and how the headless terminal writes its lines: standard output, a file or a rotating
// file; as text or as JSON lines.
#pragma once

#include <memory>

#include "output_writer.h"
#include "standard_streams.h"
#include "headless_options.h"

// The output options name, opened (a file is appended to, created when missing). NULL, the user
// told why, when it cannot be had.
std::shared_ptr<OutputSink> OpenHeadlessOutput(const HeadlessOptions& options, const StandardStreams& streams);

// How lines read in the format chosen.
LineFormat LineFormatOf(OutputFormat format);
