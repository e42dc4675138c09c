// The transcript sink: standard output unless a session or a test takes it.
#include "win32/transcript.h"

#include <cstdio>
#include <mutex>

#include "win32/text.h"

namespace plx {
namespace {

std::mutex& SinkMutex() {
  static std::mutex m;
  return m;
}
TranscriptSink& Sink() {
  static TranscriptSink sink;
  return sink;
}

}  // namespace

void WriteTranscript(std::wstring_view text) {
  TranscriptSink sink;
  {
    std::lock_guard<std::mutex> lock(SinkMutex());
    sink = Sink();
  }
  if (sink) {
    sink(text);
    return;
  }
  const std::string utf8 = Utf8FromWide(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

TranscriptSink SetTranscriptSink(TranscriptSink sink) {
  std::lock_guard<std::mutex> lock(SinkMutex());
  TranscriptSink old = std::move(Sink());
  Sink() = std::move(sink);
  return old;
}

void FlushTranscript() { std::fflush(stdout); }

}  // namespace plx
