#include "cli/shard.h"

#include <charconv>

namespace pelkor::cli {

namespace {

std::optional<int> Decimal(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

}  // namespace

std::optional<Shard> ParseShard(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos)
    return std::nullopt;
  const std::optional<int> index = Decimal(text.substr(0, slash));
  const std::optional<int> count = Decimal(text.substr(slash + 1));
  if (!index || !count || *index < 1 || *index > *count)
    return std::nullopt;
  return Shard{*index, *count};
}

}  // namespace pelkor::cli
