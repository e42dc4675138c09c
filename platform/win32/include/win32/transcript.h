// The host's one transcript: command-line output, prompts and message boxes all end here.
// By default it goes to standard output as UTF-8; a host session or a test may take it.
#pragma once

#include <functional>
#include <string_view>

namespace plx {

using TranscriptSink = std::function<void(std::wstring_view)>;

void WriteTranscript(std::wstring_view text);
// Replaces the sink and returns the previous one; an empty sink restores standard output.
TranscriptSink SetTranscriptSink(TranscriptSink sink);
void FlushTranscript();

}  // namespace plx
