// Reading the headless tool's options.
#include <algorithm>
#include <cctype>
#include <charconv>

#include "tools/headless/Commands.h"

std::uint32_t TakeSeed(TCommandArgs& args) {
  auto at = std::find(args.begin(), args.end(), "--seed");
  if (at == args.end())
    throw EUsageError("--seed N is required (N: milliseconds since midnight UTC)");
  if (at + 1 == args.end()) throw EUsageError("--seed needs a value");
  const std::string text = *(at + 1);
  args.erase(at, at + 2);
  if (std::find(args.begin(), args.end(), "--seed") != args.end())
    throw EUsageError("--seed given more than once");

  constexpr std::uint32_t lastMillisecondOfTheDay = 86399999;
  bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                             [](unsigned char c) { return std::isdigit(c); });
  if (!digits) throw EUsageError("--seed '" + text + "' is not a whole number of milliseconds");
  std::uint64_t value = 0;
  auto read = std::from_chars(text.data(), text.data() + text.size(), value);
  if (read.ec == std::errc::result_out_of_range) value = lastMillisecondOfTheDay + 1ull;
  if (value > lastMillisecondOfTheDay)
    throw EUsageError("--seed " + text + " is out of range: a day has milliseconds 0 to 86399999");
  return static_cast<std::uint32_t>(value);
}

void RefuseLeftovers(const TCommandArgs& args) {
  if (!args.empty()) throw EUsageError("unexpected argument '" + args.front() + "'");
}
