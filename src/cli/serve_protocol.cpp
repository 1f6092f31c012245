// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/serve_protocol.h"

#include <algorithm>

namespace pelkor::cli {

namespace {

// Invalid UTF-8 (a file name, say) becomes U+FFFD rather than a reply that cannot be written.
template <typename Json>
std::string Dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

[[noreturn]] void InvalidArgument(const std::string& message) {
  throw ServeError("invalid_argument", message);
}

}  // namespace

Request ParseRequest(std::string_view line, nlohmann::json& id) {
  id = nullptr;
  nlohmann::json json = nlohmann::json::parse(line, nullptr, false);
  if (json.is_discarded())
    throw ServeError("parse_error", "the line is not JSON");
  if (!json.is_object())
    throw ServeError("invalid_request", "a request is a JSON object");
  Request request;
  if (const auto found = json.find("id"); found != json.end()) {
    // Only plain values come back, so that a reply never repeats a nested structure.
    if (!found->is_number() && !found->is_string() && !found->is_null())
      throw ServeError("invalid_request", "id: a number, a string or null");
    id = *found;
    request.id = *found;
  }
  const auto command = json.find("cmd");
  if (command == json.end() || !command->is_string())
    throw ServeError("invalid_request", "cmd: the command's name, a string");
  request.command = command->get<std::string>();
  if (const auto args = json.find("args"); args != json.end()) {
    if (!args->is_object() && !args->is_null())
      throw ServeError("invalid_request", "args: an object");
    if (args->is_object())
      request.args = std::move(*args);
  }
  for (const auto& [key, value] : json.items()) {
    if (key != "id" && key != "cmd" && key != "args")
      throw ServeError("invalid_request", "unknown member: " + key);
  }
  return request;
}

std::string OkReply(const nlohmann::json& id, const nlohmann::ordered_json& result) {
  nlohmann::ordered_json reply;
  reply["id"] = id;
  reply["ok"] = true;
  reply["result"] = result;
  return Dump(reply);
}

std::string ErrorReply(const nlohmann::json& id, const std::string& code,
                       const std::string& message) {
  nlohmann::ordered_json reply;
  reply["id"] = id;
  reply["ok"] = false;
  reply["error"] = {{"code", code}, {"message", message}};
  return Dump(reply);
}

Arguments::Arguments(const nlohmann::json& args, std::initializer_list<std::string_view> known)
    : args_(args) {
  for (const auto& [key, value] : args.items()) {
    if (std::find(known.begin(), known.end(), key) == known.end())
      InvalidArgument("unknown argument: " + key);
  }
}

std::optional<std::string> Arguments::String(const char* name) const {
  const auto found = args_.find(name);
  if (found == args_.end())
    return std::nullopt;
  if (!found->is_string())
    InvalidArgument(std::string(name) + ": a string");
  return found->get<std::string>();
}

std::string Arguments::RequiredString(const char* name) const {
  if (std::optional<std::string> text = String(name))
    return *text;
  InvalidArgument(std::string(name) + ": missing");
}

std::optional<std::int64_t> Arguments::Integer(const char* name, std::int64_t min,
                                               std::int64_t max) const {
  const auto found = args_.find(name);
  if (found == args_.end())
    return std::nullopt;
  // Unsigned first: a number beyond the signed range must not wrap into it.
  bool inRange = false;
  if (found->is_number_unsigned()) {
    inRange = found->get<std::uint64_t>() <= static_cast<std::uint64_t>(max) &&
              static_cast<std::int64_t>(found->get<std::uint64_t>()) >= min;
  } else if (found->is_number_integer()) {
    inRange = found->get<std::int64_t>() >= min && found->get<std::int64_t>() <= max;
  }
  if (!inRange) {
    InvalidArgument(std::string(name) + ": a whole number from " + std::to_string(min) + " to " +
                    std::to_string(max));
  }
  return found->get<std::int64_t>();
}

std::optional<bool> Arguments::Boolean(const char* name) const {
  const auto found = args_.find(name);
  if (found == args_.end())
    return std::nullopt;
  if (!found->is_boolean())
    InvalidArgument(std::string(name) + ": true or false");
  return found->get<bool>();
}

std::string Arguments::RequiredBits(const char* name) const {
  std::string bits = RequiredString(name);
  if (bits.find_first_not_of("01") != std::string::npos)
    InvalidArgument(std::string(name) + ": a text of 0 and 1");
  return bits;
}

}  // namespace pelkor::cli
