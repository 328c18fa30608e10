// What a reading command reports: lines of text for a person, or with --json one JSON object on
// one line for a script. Commands fill both forms; Emit prints the one asked for.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/json_tree.h"
#include "tools/cli/cli_context.h"

namespace cli {

// `value` rounded to `decimals` places, as the text form shows it, so that the JSON form does not
// carry the noise of a 32-bit real (2.5209999084472656 for 2.521).
double Rounded(double value, int decimals);

class Report {
 public:
  Report();

  // One line of the text form (without its newline).
  void Line(std::string text);

  // Members of the JSON form, in the order added. Keys must be literals.
  void Number(const char* key, double value);
  void Bool(const char* key, bool value);
  void String(const char* key, std::string_view value);
  void Numbers(const char* key, std::span<const double> values);
  void Strings(const char* key, std::span<const std::string> values);

  // Prints the text lines, or the JSON object when the command line asked for --json.
  void Emit(CliContext& context) const;

 private:
  std::vector<std::string> mLines;
  profiles::JsonPtr mObject;
  profiles::JsonBuilder mJson;
};

}  // namespace cli
