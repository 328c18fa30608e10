// What the parameter commands of vexaro-cli share: the handshake, a model filled from the unit's
// replies by the model's own rules, and the parsing and range checks of typed values.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/limits.h"
#include "model/parameter_model.h"
#include "tools/cli/cli_context.h"
#include "tools/cli/command_report.h"

namespace cli {

class UnitSession {
 public:
  explicit UnitSession(CliContext& context) : mContext(context) {}

  // Announces the PC and runs the handshake; prints why and returns false when the unit did not
  // answer, refused, or is not the model this tool talks to.
  bool Connect();
  // Applies every reply posted so far to the model.
  void Absorb();
  // Absorb, after checking that the request before it got a reply.
  bool Read(bool replied);

  device::DspDevice& Unit() { return *mContext.device; }
  model::SceneRecord& Working() { return mModel.workingScene; }
  model::ParameterModel& Model() { return mModel; }
  std::ostream& Out() { return mContext.out; }
  // Prints `report` in the form the command line asked for.
  void Emit(const Report& report) { report.Emit(mContext); }
  std::ostream& Err() { return mContext.err; }

 private:
  CliContext& mContext;
  model::ParameterModel mModel;
};

// Typed values. Each returns nullopt after printing "vexaro-cli: <what> must be ..." when the
// text is no number or lies outside the range; nothing is sent then.
std::optional<int> ParseInt(std::ostream& err, std::string_view what, std::string_view text,
                            model::IntRange range, std::string_view unit = {});
std::optional<double> ParseReal(std::ostream& err, std::string_view what, std::string_view text,
                                model::RealRange range, std::string_view unit = {});
// "on"/"off" (also 1/0).
std::optional<int> ParseOnOff(std::ostream& err, std::string_view what, std::string_view text);

// A setting read with one request and written with one command. `<name>` reports it;
// `<name> VALUE` checks the value, writes it and reports what the unit then holds.
struct Setting {
  std::string_view name;
  std::function<std::optional<double>(std::ostream& err, std::string_view text)> parse;
  std::function<void(device::DspDevice& unit, double value)> write;
  std::function<bool(device::DspDevice& unit)> read;
  std::function<void(Report& report, const model::SceneRecord& scene)> report;
};
int RunSetting(CliContext& context, CommandArgs values, const Setting& setting);

// A whole number as a value of a Setting.
inline std::optional<double> AsReal(std::optional<int> value) {
  return value ? std::optional<double>(*value) : std::nullopt;
}

}  // namespace cli
