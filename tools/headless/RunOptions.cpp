// Reading the run subcommand's options.
#include "tools/headless/RunOptions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>

#include "shell/FromChars.h"

namespace {

// A whole number from min to max, or a usage error naming the option.
long long WholeNumber(const std::string& option, const std::string& text, long long min, long long max) {
  long long v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < min || v > max)
    throw EUsageError(option + " '" + text + "' is not a whole number from " + std::to_string(min) + " to " +
                      std::to_string(max));
  return v;
}

// A finite number no larger in size than max (the largest value of the field it is for), or a
// usage error naming the option.
double RealNumber(const std::string& option, const std::string& text,
                  double max = std::numeric_limits<double>::max()) {
  double v = 0;
  auto [end, ec] = FromChars(text.data(), text.data() + text.size(), v);
  if (end != text.data() + text.size() || (ec != std::errc() && ec != std::errc::result_out_of_range) ||
      std::isnan(v))
    throw EUsageError(option + " '" + text + "' is not a number");
  if (ec == std::errc::result_out_of_range || !(std::fabs(v) <= max)) {
    char limit[32];
    std::snprintf(limit, sizeof limit, "%g", max);
    throw EUsageError(option + " '" + text + "' is out of range (-" + limit + " to " + limit + ")");
  }
  return v;
}

// Speeds are single precision: a larger value would turn into infinity.
float SingleNumber(const std::string& option, const std::string& text) {
  return float(RealNumber(option, text, std::numeric_limits<float>::max()));
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

std::vector<TRunOption> BaseOptions() {
  return {
      {"--frames", true, false, "--frames F            run F frames (1..10000000)",
       [](TRunOptions& o, const std::string& v) { o.Frames = int(WholeNumber("--frames", v, 1, 10000000)); }},
      {"--ship", true, false, "--ship X,Y,VX,VY,HEADING  the ship's place, velocity and heading after start-up",
       [](TRunOptions& o, const std::string& v) {
         std::vector<std::string> p = Split(v, ',');
         if (p.size() != 5) throw EUsageError("--ship needs X,Y,VX,VY,HEADING");
         o.ShipGiven = true;
         o.ShipX = RealNumber("--ship X", p[0]);
         o.ShipY = RealNumber("--ship Y", p[1]);
         o.ShipVX = SingleNumber("--ship VX", p[2]);
         o.ShipVY = SingleNumber("--ship VY", p[3]);
         o.ShipHeading = std::uint8_t(WholeNumber("--ship HEADING", p[4], 0, 255));
       }},
      {"--shot", true, true, "--shot K:FILE.png     the frame presented at frame K, as a PNG",
       [](TRunOptions& o, const std::string& v) {
         auto colon = v.find(':');
         if (colon == std::string::npos || colon + 1 == v.size()) throw EUsageError("--shot needs K:FILE.png");
         int k = int(WholeNumber("--shot K", v.substr(0, colon), 1, 10000000));
         o.Shots.emplace(k, v.substr(colon + 1));
       }},
      {"--state", true, false, "--state FILE|-        the world after the last frame, as JSON",
       [](TRunOptions& o, const std::string& v) { o.StateFile = v; }},
  };
}

}  // namespace

std::vector<TRunOption>& RunOptionTable() {
  static std::vector<TRunOption> table = BaseOptions();
  return table;
}

void AddRunOption(TRunOption option) { RunOptionTable().push_back(std::move(option)); }

TRunOptions ParseRunOptions(const TCommandArgs& arguments) {
  TCommandArgs args = arguments;
  TRunOptions options;
  options.Seed = TakeSeed(args);
  std::set<std::string> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    const TRunOption* option = nullptr;
    for (const TRunOption& o : RunOptionTable())
      if (name == o.Name) option = &o;
    if (!option) throw EUsageError("unexpected argument '" + name + "'");
    if (!option->Repeats && !seen.insert(name).second) throw EUsageError(name + " given more than once");
    std::string value;
    if (option->TakesValue) {
      if (i + 1 >= args.size()) throw EUsageError(name + " needs a value");
      value = args[++i];
    }
    option->Read(options, value);
  }
  if (options.Frames == 0) throw EUsageError("--frames F is required");
  for (const auto& [frame, file] : options.Shots)
    if (frame > options.Frames)
      throw EUsageError("--shot " + std::to_string(frame) + " lies beyond --frames " + std::to_string(options.Frames));
  return options;
}
