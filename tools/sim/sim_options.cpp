#include "tools/sim/sim_options.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>

#include "sim/demo_tuning.h"

namespace simtool {
namespace {

constexpr int kMaxLatencyMs = 60000;

// The options that take no value.
struct Flag {
  std::string_view name;
  bool SimOptions::*member;
};
constexpr Flag kFlags[] = {
    {"--demo", &SimOptions::demo},
    {"--refuse-handshake", &SimOptions::refuseHandshake},
    {"--split-replies", &SimOptions::splitReplies},
    {"--two-frames", &SimOptions::twoFramesPerReport},
    {"--answer-pc-connect", &SimOptions::answerPcConnect},
};
constexpr int kMaxFaultCount = 1000000;

// The options that take a number, with its range and what it means when out of range.
struct NumberOption {
  std::string_view name;
  int min;
  int max;
  int SimOptions::*member;
  std::string_view expected;
};
constexpr NumberOption kNumbers[] = {
    {"--latency", 0, kMaxLatencyMs, &SimOptions::latencyMs, "a latency (ms)"},
    {"--corrupt", 0, kMaxFaultCount, &SimOptions::corruptChecksums, "a count"},
    {"--drop", 0, kMaxFaultCount, &SimOptions::dropReplies, "a count"},
    {"--cal-pace", 0, kMaxLatencyMs, &SimOptions::calibrationPaceMs, "a step time (ms)"},
    {"--cal-fail", 0, 255, &SimOptions::calibrationFailure, "a failure code"},
};

std::optional<int> ParseNumber(std::string_view text, int min, int max) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  if (failure != std::errc{} || stop != end || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

// "M.S": the master and slave firmware versions, each 0..255.
bool ParseVersion(std::string_view text, sim::UnitIdentity& identity) {
  const auto dot = text.find('.');
  if (dot == std::string_view::npos) {
    return false;
  }
  const auto master = ParseNumber(text.substr(0, dot), 0, 255);
  const auto slave = ParseNumber(text.substr(dot + 1), 0, 255);
  if (!master || !slave) {
    return false;
  }
  identity.masterVersion = static_cast<std::uint8_t>(*master);
  identity.slaveVersion = static_cast<std::uint8_t>(*slave);
  return true;
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
  SimOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      return options;
    }
    if (serve::TakeListenOption(args, i, options.listen, error)) {
      continue;
    }
    if (!error.empty()) {
      return std::nullopt;
    }
    const auto flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                                   [&](const Flag& f) { return option == f.name; });
    if (flag != std::end(kFlags)) {
      options.*flag->member = true;
      continue;
    }
    const auto number = std::find_if(std::begin(kNumbers), std::end(kNumbers),
                                     [&](const NumberOption& n) { return option == n.name; });
    const bool takesValue =
        option == "--model" || option == "--version" || number != std::end(kNumbers);
    if (!takesValue) {
      error = "unknown option " + option;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = option + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    std::string expected;
    if (option == "--model") {
      const auto model = ParseNumber(value, 0, 255);
      options.identity.model = static_cast<std::uint8_t>(model.value_or(0));
      expected = model ? "" : "a model code 0..255";
    } else if (option == "--version") {
      expected = ParseVersion(value, options.identity) ? "" : "a version MASTER.SLAVE, each 0..255";
    } else {
      const auto parsed = ParseNumber(value, number->min, number->max);
      options.*number->member = parsed.value_or(0);
      expected = parsed ? ""
                        : std::string(number->expected) + " of " + std::to_string(number->min) +
                              ".." + std::to_string(number->max);
    }
    if (!expected.empty()) {
      error = option + " " + value + ": " + expected + " is expected";
      return std::nullopt;
    }
  }
  if (options.listen.address.empty()) {
    error = "--listen ADDR is required";
    return std::nullopt;
  }
  return options;
}

std::shared_ptr<sim::VirtualUnit> MakeUnit(const SimOptions& options) {
  auto unit = std::make_shared<sim::VirtualUnit>(
      options.identity, options.demo ? sim::DemoUnitState() : sim::FactoryUnitState());
  unit->SetReplyLatency(std::chrono::milliseconds(options.latencyMs));
  unit->SetRefuseHandshake(options.refuseHandshake);
  unit->SetSplitReplies(options.splitReplies);
  unit->SetTwoFramesPerReport(options.twoFramesPerReport);
  unit->SetAnswerPcConnect(options.answerPcConnect);
  unit->CorruptNextChecksums(options.corruptChecksums);
  unit->DropNextReplies(options.dropReplies);
  unit->SetCalibrationPace(std::chrono::milliseconds(options.calibrationPaceMs));
  if (options.calibrationFailure >= 0) {
    unit->SetCalibrationFailure(options.calibrationFailure);
  }
  return unit;
}

}  // namespace simtool
