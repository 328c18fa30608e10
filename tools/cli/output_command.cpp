#include "tools/cli/output_command.h"

#include <array>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "model/speaker_role.h"
#include "tools/cli/parameter_access.h"

namespace cli {
namespace {

// Outputs and bands are numbered from 1 on the command line, from 0 on the wire.
constexpr model::IntRange kOutputNumber{1, model::kOutputCount};
constexpr int kScene = 0;   // the working scene
constexpr int kSource = 0;  // per-output settings do not depend on the source

// A setting of one output: read with one request, written with one command.
struct ChannelSetting {
  std::string_view name;
  std::optional<double> (*parse)(std::ostream& err, std::string_view text);
  void (*write)(device::DspDevice& unit, int channel, double value);
  bool (*read)(device::DspDevice& unit, int scene, int source, int chX, int chY);
  // Adds the setting to the report; `line` starts the text line ("output 2 ").
  void (*report)(Report& report, std::string line, const model::SceneRecord& scene, int channel);
};

const model::OutputChannel& Channel(const model::SceneRecord& scene, int channel) {
  return scene.channels[static_cast<std::size_t>(channel)];
}

template <typename T>
std::span<const T, 1> One(const T& value) {
  return std::span<const T, 1>(&value, 1);
}

const std::array<ChannelSetting, 5> kChannelSettings{{
    {"trim",
     [](std::ostream& err, std::string_view text) {
       return AsReal(ParseInt(err, "trim", text, model::kTrimDb, "dB"));
     },
     [](device::DspDevice& unit, int channel, double trim) {
       // The unit takes the trim as an attenuation.
       const float attenuation = device::TrimAttenuation(static_cast<float>(trim));
       device::Trim_Ctrl(unit, kScene, kSource, channel, channel, One(attenuation), true);
     },
     device::Get_Trim,
     [](Report& report, std::string line, const model::SceneRecord& scene, int channel) {
       const int trim = static_cast<int>(Channel(scene, channel).gain);
       report.Line(line + "trim: " + std::to_string(trim) + " dB");
       report.Number("trim", trim);
     }},
    {"mute",
     [](std::ostream& err, std::string_view text) { return AsReal(ParseOnOff(err, "mute", text)); },
     [](device::DspDevice& unit, int channel, double mute) {
       const int flag = static_cast<int>(mute);
       device::Mute_Ch_Ctrl(unit, kScene, kSource, channel, channel, One(flag), true);
     },
     device::Get_Mute_Ch,
     [](Report& report, std::string line, const model::SceneRecord& scene, int channel) {
       const bool muted = Channel(scene, channel).mute != 0;
       report.Line(line + (muted ? "mute: on" : "mute: off"));
       report.Bool("mute", muted);
     }},
    {"phase",
     [](std::ostream& err, std::string_view text) -> std::optional<double> {
       if (text == "normal" || text == "0") {
         return 0;
       }
       if (text == "reversed" || text == "1") {
         return 1;
       }
       err << "vexaro-cli: phase must be normal or reversed\n";
       return std::nullopt;
     },
     [](device::DspDevice& unit, int channel, double phase) {
       const int flag = static_cast<int>(phase);
       device::Phase_Ctrl(unit, kScene, kSource, channel, channel, One(flag), true);
     },
     device::Get_Phase,
     [](Report& report, std::string line, const model::SceneRecord& scene, int channel) {
       const char* phase = Channel(scene, channel).phase != 0 ? "reversed" : "normal";
       report.Line(line + "phase: " + phase);
       report.String("phase", phase);
     }},
    {"delay",
     [](std::ostream& err, std::string_view text) {
       return ParseReal(err, "delay", text, model::kDelayMs, "ms");
     },
     [](device::DspDevice& unit, int channel, double delay) {
       const float delayMs = static_cast<float>(delay);
       device::Delay_Ctrl(unit, kScene, kSource, channel, channel, One(delayMs), true);
     },
     device::Get_Delay,
     [](Report& report, std::string line, const model::SceneRecord& scene, int channel) {
       const float delay = Channel(scene, channel).delay;
       char text[32];
       std::snprintf(text, sizeof text, "%.3f ms", delay);
       report.Line(line + "delay: " + text);
       report.Number("delay", Rounded(delay, 3));
     }},
    {"role",
     [](std::ostream& err, std::string_view text) {
       return AsReal(ParseInt(err, "role", text, model::kRoleIndex));
     },
     [](device::DspDevice& unit, int channel, double role) {
       const int type = static_cast<int>(role);
       device::CH_Type_Ctrl(unit, kScene, kSource, channel, channel, One(type), true);
     },
     device::Get_CH_Type,
     [](Report& report, std::string line, const model::SceneRecord& scene, int channel) {
       const model::SpeakerRole role = scene.outputs[static_cast<std::size_t>(channel)];
       const std::string_view name = model::ItemNameOfRole(role).value_or("unknown");
       report.Line(line + "role: " + std::to_string(role) + " (" + std::string(name) + ")");
       report.Number("role", role);
       report.String("roleName", name);
     }},
}};

// The values of an `eq` or `crossover` option list; absent options keep the unit's value.
struct Options {
  std::optional<double> freq, q, gain;
  std::optional<int> slope, type;
  std::optional<bool> enable;
};

// Parses "--name VALUE" pairs and the two flags. Returns false after printing the problem.
bool ParseOptions(std::ostream& err, CommandArgs args, bool eq, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view option = args[i];
    if (eq && (option == "--enable" || option == "--disable")) {
      if (options.enable) {
        err << "vexaro-cli: give --enable or --disable once\n";
        return false;
      }
      options.enable = option == "--enable";
      continue;
    }
    if (i + 1 >= args.size()) {
      err << "vexaro-cli: unknown option or missing value: " << option << '\n';
      return false;
    }
    const std::string_view value = args[++i];
    if (option == "--freq") {
      const auto range = eq ? model::kBandFrequencyHz : model::kCrossoverFrequencyHz;
      options.freq = AsReal(ParseInt(err, "frequency", value, range, "Hz"));
      if (!options.freq) {
        return false;
      }
    } else if (eq && option == "--q") {
      options.q = ParseReal(err, "Q", value, model::kBandQ);
      if (!options.q) {
        return false;
      }
    } else if (eq && option == "--gain") {
      options.gain = ParseReal(err, "gain", value, model::kBandGainDb, "dB");
      if (!options.gain) {
        return false;
      }
    } else if (!eq && option == "--slope") {
      options.slope = ParseInt(err, "slope", value, model::kCrossoverSlope);
      if (!options.slope) {
        return false;
      }
    } else if (!eq && option == "--type") {
      options.type = ParseInt(err, "type", value, model::kCrossoverType);
      if (!options.type) {
        return false;
      }
    } else {
      err << "vexaro-cli: unknown option " << option << '\n';
      return false;
    }
  }
  return true;
}

int RunChannelSetting(CliContext& context, int channel, const ChannelSetting& setting,
                      CommandArgs values) {
  return RunSetting(
      context, values,
      {setting.name, setting.parse,
       [&](device::DspDevice& unit, double value) { setting.write(unit, channel, value); },
       [&](device::DspDevice& unit) {
         return setting.read(unit, kScene, kSource, channel, channel);
       },
       [&](Report& report, const model::SceneRecord& scene) {
         report.Number("output", channel + 1);
         setting.report(report, "output " + std::to_string(channel + 1) + " ", scene, channel);
       }});
}

// Reads one band and the channel's EQ bypass flag into the model.
bool ReadBand(UnitSession& session, int channel, int band) {
  return session.Read(device::Get_EQ(session.Unit(), kScene, kSource, channel, band, band) &&
                      device::Get_PEQ_Bypass(session.Unit(), kScene, kSource, channel, channel));
}

int RunEq(CliContext& context, int channel, CommandArgs args) {
  if (args.empty()) {
    context.err << "vexaro-cli: output N eq needs a band number\n";
    return kExitUsage;
  }
  const auto bandNumber =
      ParseInt(context.err, "band", args[0], {1, model::BandCountOfOutput(channel)});
  Options options;
  if (!bandNumber || !ParseOptions(context.err, args.subspan(1), true, options)) {
    return kExitUsage;
  }
  const int band = *bandNumber - 1;
  UnitSession session(context);
  if (!session.Connect() || !ReadBand(session, channel, band)) {
    return kExitFailure;
  }
  model::OutputChannel& output = session.Working().channels[static_cast<std::size_t>(channel)];
  const model::EqBand current = output.Bands()[static_cast<std::size_t>(band)];
  const bool write = options.freq || options.q || options.gain || options.enable;
  if (write) {
    const int freq = options.freq ? static_cast<int>(*options.freq) : current.freq;
    const float q = options.q ? static_cast<float>(*options.q) : current.eqFactor;
    // A disabled band is flat in the unit; the unit has no flag for it.
    const float gain = options.enable == false ? 0.0f
                       : options.gain          ? static_cast<float>(*options.gain)
                                               : current.eqGain;
    device::EQ_Ctrl(session.Unit(), kScene, kSource, channel, band, freq, q, gain, true);
    // A bypassed equaliser ignores its bands: a band that shapes the sound switches it back on,
    // as editing a band on the main page does.
    if (gain != 0.0f && output.bypass != 0) {
      const int notBypassed = 0;
      device::PEQ_Bypass_Ctrl(session.Unit(), kScene, kSource, channel, channel, One(notBypassed),
                              true);
    }
    if (!ReadBand(session, channel, band)) {
      return kExitFailure;
    }
  }
  const model::EqBand& shown = output.Bands()[static_cast<std::size_t>(band)];
  const bool bypassed = output.bypass != 0;
  char text[96];
  std::snprintf(text, sizeof text, "%d Hz, Q %.2f, gain %.1f dB", shown.freq, shown.eqFactor,
                shown.eqGain);
  Report report;
  report.Line("output " + std::to_string(channel + 1) + " band " + std::to_string(band + 1) + ": " +
              text + (bypassed ? " (equaliser bypassed)" : ""));
  report.Number("output", channel + 1);
  report.Number("band", band + 1);
  report.Number("freq", shown.freq);
  report.Number("q", Rounded(shown.eqFactor, 2));
  report.Number("gain", Rounded(shown.eqGain, 1));
  report.Bool("bypassed", bypassed);
  session.Emit(report);
  return kExitOk;
}

int RunCrossover(CliContext& context, int channel, CommandArgs args) {
  if (args.empty() || (args[0] != "hp" && args[0] != "lp")) {
    context.err << "vexaro-cli: output N crossover needs hp or lp\n";
    return kExitUsage;
  }
  const bool highPass = args[0] == "hp";
  Options options;
  if (!ParseOptions(context.err, args.subspan(1), false, options)) {
    return kExitUsage;
  }
  UnitSession session(context);
  auto read = [&] {
    return session.Read(device::Get_Filter(session.Unit(), kScene, kSource, channel, channel));
  };
  if (!session.Connect() || !read()) {
    return kExitFailure;
  }
  const model::Crossover& crossover =
      session.Working().channels[static_cast<std::size_t>(channel)].crossover;
  const model::CrossoverFilter& filter = highPass ? crossover.hp : crossover.lp;
  if (options.freq || options.slope || options.type) {
    const int freq = options.freq ? static_cast<int>(*options.freq) : filter.fs();
    // The high-pass never goes above the low-pass.
    const int highPassFs = highPass ? freq : crossover.hp.fs();
    const int lowPassFs = highPass ? crossover.lp.fs() : freq;
    if (highPassFs > lowPassFs) {
      context.err << "vexaro-cli: the high-pass cut-off (" << highPassFs
                  << " Hz) must not be above the low-pass cut-off (" << lowPassFs << " Hz)\n";
      return kExitUsage;
    }
    device::Filter_Ctrl(session.Unit(), kScene, kSource, channel,
                        highPass ? device::kHighPassFilter : device::kLowPassFilter, freq,
                        options.slope.value_or(filter.slope()),
                        options.type.value_or(filter.type()), true);
    if (!read()) {
      return kExitFailure;
    }
  }
  const bool off = filter.slope() <= 0;
  Report report;
  report.Line("output " + std::to_string(channel + 1) +
              (highPass ? " high-pass: " : " low-pass: ") + std::to_string(filter.fs()) +
              " Hz, slope " + std::to_string(filter.slope()) + ", type " +
              std::to_string(filter.type()) + (off ? " (off)" : ""));
  report.Number("output", channel + 1);
  report.String("filter", highPass ? "hp" : "lp");
  report.Number("freq", filter.fs());
  report.Number("slope", filter.slope());
  report.Number("type", filter.type());
  report.Bool("off", off);
  session.Emit(report);
  return kExitOk;
}

}  // namespace

int RunOutputCommand(CliContext& context, CommandArgs args) {
  if (args.size() < 2) {
    context.err << "vexaro-cli: usage: output N trim|mute|phase|delay|role [VALUE]\n"
                   "       output N eq BAND [--freq HZ] [--q Q] [--gain DB] [--enable|--disable]\n"
                   "       output N crossover hp|lp [--freq HZ] [--slope N] [--type 1|2|3]\n";
    return kExitUsage;
  }
  const auto output = ParseInt(context.err, "output", args[0], kOutputNumber);
  if (!output) {
    return kExitUsage;
  }
  const int channel = *output - 1;
  const std::string_view what = args[1];
  const CommandArgs rest = args.subspan(2);
  if (what == "eq") {
    return RunEq(context, channel, rest);
  }
  if (what == "crossover") {
    return RunCrossover(context, channel, rest);
  }
  for (const ChannelSetting& setting : kChannelSettings) {
    if (setting.name == what) {
      return RunChannelSetting(context, channel, setting, rest);
    }
  }
  context.err << "vexaro-cli: output has no setting '" << what << "'\n";
  return kExitUsage;
}

}  // namespace cli
