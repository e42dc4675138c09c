// Shared test builders.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "arxhost/Host.h"
#include "win32/transcript.h"

namespace plx::test {

// Collects everything written to the transcript while it lives.
class TranscriptCapture {
 public:
  TranscriptCapture();
  ~TranscriptCapture();
  TranscriptCapture(const TranscriptCapture&) = delete;
  TranscriptCapture& operator=(const TranscriptCapture&) = delete;

  const std::wstring& Text() const { return text_; }
  std::string Utf8() const;
  void Clear() { text_.clear(); }

 private:
  std::wstring text_;
  TranscriptSink previous_;
};

// A fresh host session for one test, ended (modules unloaded) when it goes.
class HostSession {
 public:
  explicit HostSession(const host::SessionOptions& options = {});
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;
};

// Answers for the prompts that follow, one per line; "^C" cancels. Pops itself when it goes.
class ScriptedInput {
 public:
  explicit ScriptedInput(const std::vector<std::wstring>& lines);
  ~ScriptedInput();
  ScriptedInput(const ScriptedInput&) = delete;
  ScriptedInput& operator=(const ScriptedInput&) = delete;

 private:
  std::unique_ptr<host::InputSource> source_;
};

// A new empty folder, removed with its content when it goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Sets an environment variable for a scope and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_ = false;
  std::string old_;
};

// Where the build put arxhost, the module and the maker's modules.
std::filesystem::path BinDir();
std::filesystem::path SourceDir();
std::filesystem::path CorpusDir();

struct ProcessResult {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

// Runs a program with arguments, waits, and collects its output.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {});

// Runs arxhost on a script written to a file in dir; extra arguments come before -b.
ProcessResult RunArxhost(const TempDir& dir, const std::string& script,
                         const std::vector<std::string>& arguments = {},
                         const std::vector<std::string>& environment = {});

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);

}  // namespace plx::test
