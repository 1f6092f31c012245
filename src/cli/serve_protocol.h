// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace pelkor::cli {

// The requests and replies of `pelkor-cli serve`, one JSON object a line (docs/protocol.md).
// A client checks this number: it changes whenever a request or a reply changes incompatibly.
inline constexpr int kProtocolVersion = 1;

// A request that cannot be answered: the error reply's code and message.
class ServeError : public std::runtime_error {
 public:
  ServeError(std::string code, const std::string& message)
      : std::runtime_error(message), code_(std::move(code)) {}
  const std::string& code() const { return code_; }

 private:
  std::string code_;
};

struct Request {
  nlohmann::json id;  // a number, a string or null, returned in the reply
  std::string command;
  nlohmann::json args = nlohmann::json::object();
};

// Reads one request line; throws "parse_error" for a line that is not JSON and
// "invalid_request" for JSON that is not a request. `id` gets the request's id as soon as it is
// known, so that even a refused request's reply carries it.
Request ParseRequest(std::string_view line, nlohmann::json& id);

std::string OkReply(const nlohmann::json& id, const nlohmann::ordered_json& result);
std::string ErrorReply(const nlohmann::json& id, const std::string& code,
                       const std::string& message);

// The arguments of one request, read by name; anything wrong is an "invalid_argument".
class Arguments {
 public:
  // Throws for a name that is not in `known`.
  Arguments(const nlohmann::json& args, std::initializer_list<std::string_view> known);

  bool Has(const char* name) const { return args_.contains(name); }
  std::optional<std::string> String(const char* name) const;
  std::string RequiredString(const char* name) const;
  std::optional<std::int64_t> Integer(const char* name, std::int64_t min, std::int64_t max) const;
  std::optional<bool> Boolean(const char* name) const;
  // A text of "0" and "1" only, possibly empty.
  std::string RequiredBits(const char* name) const;

 private:
  const nlohmann::json& args_;
};

}  // namespace pelkor::cli
