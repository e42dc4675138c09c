#include "TestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "win32/text.h"

extern char** environ;

namespace plx::test {

TranscriptCapture::TranscriptCapture()
    : previous_(SetTranscriptSink([this](std::wstring_view text) { text_ += text; })) {}

TranscriptCapture::~TranscriptCapture() { SetTranscriptSink(std::move(previous_)); }

std::string TranscriptCapture::Utf8() const { return Utf8FromWide(text_); }

HostSession::HostSession(const host::SessionOptions& options) { host::StartSession(options); }
HostSession::~HostSession() { host::EndSession(); }

ScriptedInput::ScriptedInput(const std::vector<std::wstring>& lines)
    : source_(host::MakeScriptInput(lines)) {
  host::PushInput(source_.get());
}
ScriptedInput::~ScriptedInput() { host::PopInput(); }

TempDir::TempDir() {
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("plovex-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    had_ = true;
    old_ = old;
  }
  setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (had_) setenv(name_.c_str(), old_.c_str(), 1);
  else unsetenv(name_.c_str());
}

std::filesystem::path BinDir() { return PLOVEX_BIN_DIR; }
std::filesystem::path SourceDir() { return PLOVEX_SOURCE_DIR; }
std::filesystem::path CorpusDir() { return PLOVEX_CORPUS_DIR; }

ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment) {
  ProcessResult result;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  for (const std::string& extra : environment) {
    const std::string key = extra.substr(0, extra.find('=') + 1);
    std::erase_if(env, [&](const std::string& e) { return e.rfind(key, 0) == 0; });
    env.push_back(extra);
  }
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = argv;
  std::vector<char*> argp;
  for (std::string& a : args) argp.push_back(a.data());
  argp.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return result;
  }
  char buffer[65536];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) result.output.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

ProcessResult RunArxhost(const TempDir& dir, const std::string& script,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
  const auto scriptPath = dir / "job.scr";
  WriteFile(scriptPath, script);
  std::vector<std::string> argv = {(BinDir() / "arxhost").string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  argv.push_back("-b");
  argv.push_back(scriptPath.string());
  return RunProcess(argv, environment);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

}  // namespace plx::test
