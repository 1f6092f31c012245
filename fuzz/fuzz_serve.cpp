// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary lines to the request handler of `pelkor-cli serve`, after the full adder has been
// opened: every line must get one reply line, a JSON object that says whether it succeeded
// and, when not, why. Requests that would read or write files other than the example, and runs
// long enough to slow the fuzzer, are passed over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli/serve_session.h"

namespace {

void Require(bool condition) {
  if (!condition)
    std::abort();
}

bool PassedOver(std::string_view line) {
  const nlohmann::json request = nlohmann::json::parse(line, nullptr, false);
  if (!request.is_object())
    return false;
  const nlohmann::json command = request.value("cmd", nlohmann::json());
  if (command == "open" || command == "export")
    return true;
  const nlohmann::json args = request.value("args", nlohmann::json());
  return args.is_object() && args.contains("n") && args["n"].is_number() &&
         !(args["n"].get<double>() <= 1000);
}

void RequireReply(const std::string& reply) {
  Require(reply.find('\n') == std::string::npos);
  const nlohmann::json json = nlohmann::json::parse(reply, nullptr, false);
  Require(json.is_object() && json.contains("id") && json.contains("ok") && json["ok"].is_boolean());
  if (json["ok"].get<bool>()) {
    Require(json.contains("result"));
  } else {
    const nlohmann::json& error = json["error"];
    Require(error.is_object() && error["code"].is_string() && error["message"].is_string() &&
            !error["message"].get<std::string>().empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pelkor::cli::ServeSession session;
  const nlohmann::json open = {
      {"cmd", "open"}, {"args", {{"file", PELKOR_EXAMPLES "/full_adder.dtn"}}}};
  RequireReply(session.Handle(open.dump()));
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start <= input.size() && !session.closed();) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    const std::string_view line = input.substr(start, end - start);
    start = end + 1;
    if (!PassedOver(line))
      RequireReply(session.Handle(line));
  }
  return 0;
}
