#include "tools/cli/parameter_access.h"

#include <charconv>
#include <optional>

#include "device/mcu_commands.h"
#include "device/mcu_records.h"
#include "model/reply_rules.h"
#include "platform/window_messages.h"

namespace cli {

bool UnitSession::Connect() {
  device::PC_Connect(Unit(), device::kPcConnected);
  if (!device::Hand_Connect(Unit())) {
    Err() << "vexaro-cli: the unit did not answer the handshake\n";
    return false;
  }
  for (const platform::PostedMessage& message : mContext.poster->TakeAll()) {
    if (message.id == platform::msg::kHandshakeRefused) {
      Err() << "vexaro-cli: the unit refused the handshake (abnormal state)\n";
      return false;
    }
    model::ApplyNotification(mModel, message);
  }
  const int unitModel = Working().modelNumber;
  if (unitModel != model::kAcceptedModel) {
    Err() << "vexaro-cli: the unit reports model " << unitModel << ", not " << model::kAcceptedModel
          << '\n';
    return false;
  }
  return true;
}

void UnitSession::Absorb() {
  for (const platform::PostedMessage& message : mContext.poster->TakeAll()) {
    model::ApplyNotification(mModel, message);
  }
}

bool UnitSession::Read(bool replied) {
  Absorb();
  if (!replied) {
    Err() << "vexaro-cli: the unit did not answer\n";
  }
  return replied;
}

namespace {

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc{} || stop != end) {
    return std::nullopt;
  }
  return value;
}

template <typename Range>
void PrintRangeError(std::ostream& err, std::string_view what, const Range& range,
                     std::string_view unit) {
  err << "vexaro-cli: " << what << " must be " << range.min << ".." << range.max;
  if (!unit.empty()) {
    err << ' ' << unit;
  }
  err << '\n';
}

}  // namespace

std::optional<int> ParseInt(std::ostream& err, std::string_view what, std::string_view text,
                            model::IntRange range, std::string_view unit) {
  const auto value = ParseNumber<int>(text);
  if (!value || !range.Contains(*value)) {
    PrintRangeError(err, what, range, unit);
    return std::nullopt;
  }
  return value;
}

std::optional<double> ParseReal(std::ostream& err, std::string_view what, std::string_view text,
                                model::RealRange range, std::string_view unit) {
  const auto value = ParseNumber<double>(text);
  if (!value || !range.Contains(*value)) {
    PrintRangeError(err, what, range, unit);
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseOnOff(std::ostream& err, std::string_view what, std::string_view text) {
  if (text == "on" || text == "1") {
    return 1;
  }
  if (text == "off" || text == "0") {
    return 0;
  }
  err << "vexaro-cli: " << what << " must be on or off\n";
  return std::nullopt;
}

int RunSetting(CliContext& context, CommandArgs args, const Setting& setting) {
  if (args.size() > 1) {
    context.err << "vexaro-cli: " << setting.name << " takes at most one value\n";
    return kExitUsage;
  }
  std::optional<double> value;
  if (!args.empty()) {
    value = setting.parse(context.err, args[0]);
    if (!value) {
      return kExitUsage;
    }
  }
  UnitSession session(context);
  if (!session.Connect()) {
    return kExitFailure;
  }
  if (value) {
    setting.write(session.Unit(), *value);
  }
  if (!session.Read(setting.read(session.Unit()))) {
    return kExitFailure;
  }
  Report report;
  setting.report(report, session.Working());
  session.Emit(report);
  return kExitOk;
}

}  // namespace cli
