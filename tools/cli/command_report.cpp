#include "tools/cli/command_report.h"

#include <cmath>
#include <utility>

namespace cli {

double Rounded(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

Report::Report() : mObject(cJSON_CreateObject()) {}

void Report::Line(std::string text) {
  mLines.push_back(std::move(text));
}

void Report::Number(const char* key, double value) {
  mJson.Number(mObject.get(), key, value);
}

void Report::Bool(const char* key, bool value) {
  mJson.Bool(mObject.get(), key, value);
}

void Report::String(const char* key, std::string_view value) {
  mJson.String(mObject.get(), key, std::string(value).c_str());
}

void Report::Numbers(const char* key, std::span<const double> values) {
  cJSON* array = mJson.Array(mObject.get(), key);
  for (const double value : values) {
    mJson.Number(array, value);
  }
}

void Report::Strings(const char* key, std::span<const std::string> values) {
  cJSON* array = mJson.Array(mObject.get(), key);
  for (const std::string& value : values) {
    mJson.String(array, value.c_str());
  }
}

void Report::Emit(CliContext& context) const {
  if (!context.json) {
    for (const std::string& line : mLines) {
      context.out << line << '\n';
    }
    return;
  }
  char* text = mObject && mJson.ok() ? cJSON_PrintUnformatted(mObject.get()) : nullptr;
  if (text == nullptr) {
    context.err << "vexaro-cli: out of memory while printing the result\n";
    return;
  }
  context.out << text << '\n';
  cJSON_free(text);
}

}  // namespace cli
