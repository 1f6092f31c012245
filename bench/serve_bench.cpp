// SPDX-License-Identifier: GPL-3.0-or-later
// pelkor-cli serve as a script drives it: a child process behind two pipes, one request line
// written, one reply line read. A step's round trip, and a run of many steps.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

extern char** environ;

namespace pelkor {
namespace {

// A `pelkor-cli serve` child; its replies are read through a buffered stream.
class ServeProcess {
 public:
  ServeProcess() {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0)
      throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    char program[] = PELKOR_CLI_BINARY;
    char command[] = "serve";
    char* argv[] = {program, command, nullptr};
    const int spawned = posix_spawn(&pid_, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (spawned != 0)
      throw std::runtime_error("cannot start " + std::string(program));
    requests_ = toChild[1];
    replies_ = fdopen(fromChild[0], "r");
  }
  ServeProcess(const ServeProcess&) = delete;
  ServeProcess& operator=(const ServeProcess&) = delete;
  ~ServeProcess() {
    close(requests_);  // the end of its input ends the process
    std::fclose(replies_);
    std::free(line_);
    waitpid(pid_, nullptr, 0);
  }

  // Writes one request line and reads its reply line, without its end.
  std::string_view Request(std::string_view request) {
    for (std::size_t written = 0; written < request.size();) {
      const ssize_t n = write(requests_, request.data() + written, request.size() - written);
      if (n <= 0)
        throw std::runtime_error("write");
      written += static_cast<std::size_t>(n);
    }
    const ssize_t length = getline(&line_, &capacity_, replies_);
    if (length <= 0)
      throw std::runtime_error("no reply");
    return {line_, static_cast<std::size_t>(length - 1)};
  }
  // A request whose reply must say ok.
  void Require(const nlohmann::json& request) {
    const nlohmann::json reply = nlohmann::json::parse(Request(request.dump() + '\n'));
    if (!reply.value("ok", false))
      throw std::runtime_error(reply.dump());
  }

 private:
  pid_t pid_ = 0;
  int requests_ = -1;
  std::FILE* replies_ = nullptr;
  char* line_ = nullptr;
  std::size_t capacity_ = 0;
};

// The full adder, checked, its three sources given `bits` alternating values each.
void OpenBusyAdder(ServeProcess& serve, std::size_t bits) {
  serve.Require({{"cmd", "open"}, {"args", {{"file", PELKOR_EXAMPLES "/full_adder.dtn"}}}});
  serve.Require({{"cmd", "check"}});
  std::string values;
  for (std::size_t i = 0; i < bits; ++i)
    values += static_cast<char>('0' + i % 2);
  for (const char* source : {"a", "b", "cin"})
    serve.Require({{"cmd", "set_source"}, {"args", {{"name", source}, {"values", values}}}});
}

// Every step moves tokens: the adder takes a value from each source every second step. The
// sinks' received lists grow by one value every second step, so the iterations are fixed.
void BM_ServeStepRoundTrip(benchmark::State& state) {
  ServeProcess serve;
  OpenBusyAdder(serve, 20'000);
  const std::string step = "{\"id\":1,\"cmd\":\"step\"}\n";
  for (auto _ : state)
    benchmark::DoNotOptimize(serve.Request(step).size());
}
BENCHMARK(BM_ServeStepRoundTrip)->Iterations(20'000)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The same on a net that has gone idle: the cost of the protocol and the workspace alone.
void BM_ServeIdleStepRoundTrip(benchmark::State& state) {
  ServeProcess serve;
  OpenBusyAdder(serve, 0);
  serve.Require({{"cmd", "run"}});
  const std::string step = "{\"id\":1,\"cmd\":\"step\"}\n";
  for (auto _ : state)
    benchmark::DoNotOptimize(serve.Request(step).size());
}
BENCHMARK(BM_ServeIdleStepRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

// One `run` request of about 40,000 steps: the steps cost what they cost in the engine.
void BM_ServeRunOf40000Steps(benchmark::State& state) {
  ServeProcess serve;
  std::int64_t steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    OpenBusyAdder(serve, 20'000);
    state.ResumeTiming();
    const nlohmann::json reply = nlohmann::json::parse(serve.Request("{\"cmd\":\"run\"}\n"));
    steps += reply["result"]["steps"].get<std::int64_t>();
  }
  state.SetItemsProcessed(steps);
}
BENCHMARK(BM_ServeRunOf40000Steps)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelkor
