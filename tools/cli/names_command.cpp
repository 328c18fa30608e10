#include "tools/cli/names_command.h"

#include <string>
#include <vector>

#include "device/scene_commands.h"
#include "model/scene_name.h"
#include "tools/cli/parameter_access.h"

namespace cli {
namespace {

// Scene names are kept as UTF-16; the terminal takes UTF-8.
std::string ToUtf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    if (pair) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

int RunNamesCommand(CliContext& context, CommandArgs args) {
  if (!args.empty()) {
    context.err << "vexaro-cli: names takes no arguments\n";
    return kExitUsage;
  }
  UnitSession session(context);
  if (!session.Connect()) {
    return kExitFailure;
  }
  for (int scene = 1; scene <= model::kStoredSceneCount; ++scene) {
    if (!session.Read(device::Get_Scene_Name(session.Unit(), scene))) {
      return kExitFailure;
    }
  }
  // The JSON form lists the ten names in scene order, "" for a scene without one.
  Report report;
  std::vector<std::string> names;
  for (int scene = 1; scene <= model::kStoredSceneCount; ++scene) {
    const model::SceneName& name = session.Model().sceneNames[static_cast<std::size_t>(scene - 1)];
    names.push_back(ToUtf8(model::SceneNameText(name)));
    report.Line(std::to_string(scene) + ": " +
                (model::IsEmptySceneName(name) ? std::string("(empty)") : names.back()));
  }
  report.Strings("names", names);
  session.Emit(report);
  return kExitOk;
}

}  // namespace cli
