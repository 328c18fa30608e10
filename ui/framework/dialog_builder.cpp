#include "ui/framework/dialog_builder.h"

#include <QXmlStreamReader>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/debug_log.h"
#include "ui/framework/attribute_parse.h"
#include "ui/framework/button.h"
#include "ui/framework/container.h"
#include "ui/framework/edit.h"
#include "ui/framework/label.h"
#include "ui/framework/list.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/slider.h"
#include "ui/framework/ui_utils.h"
#include "ui/framework/xml_node.h"

namespace DuiLib {
namespace {

// Includes deeper than this are taken as a loop.
constexpr int kMaxIncludeDepth = 16;
// A repeat longer than this is a broken layout, not a real one.
constexpr int kMaxRepeatCount = 10000;

using Factory = std::function<std::unique_ptr<CControlUI>()>;

template <typename T>
Factory Make() {
  return [] { return std::make_unique<T>(); };
}

const std::map<std::wstring, Factory, std::less<>>& StandardControls() {
  static const std::map<std::wstring, Factory, std::less<>> controls{
      {L"Control", Make<CControlUI>()},
      {L"Container", Make<CContainerUI>()},
      {L"VerticalLayout", Make<CVerticalLayoutUI>()},
      {L"HorizontalLayout", Make<CHorizontalLayoutUI>()},
      {L"TabLayout", Make<CTabLayoutUI>()},
      {L"Label", Make<CLabelUI>()},
      {L"Text", Make<CTextUI>()},
      {L"Button", Make<CButtonUI>()},
      {L"Option", Make<COptionUI>()},
      {L"CheckBox", Make<CCheckBoxUI>()},
      {L"Edit", Make<CEditUI>()},
      {L"Slider", Make<CSliderUI>()},
      {L"Progress", Make<CProgressUI>()},
      {L"Combo", Make<CComboUI>()},
      {L"ListLabelElement", Make<CListLabelElementUI>()},
      {L"List", Make<CListUI>()},
      {L"ListHeader", Make<CListHeaderUI>()},
      {L"ListHeaderItem", Make<CListHeaderItemUI>()},
      {L"ListContainerElement", Make<CListContainerElementUI>()},
  };
  return controls;
}

// One active <Repeat>: its variable and current value.
struct RepeatValue {
  std::wstring var;
  int value;
};

// "%d" -> innermost value; "%{i}", "%{i+k}", "%{i-k}" -> that variable's value plus or minus k.
std::wstring Substitute(std::wstring_view text, const std::vector<RepeatValue>& repeats) {
  if (repeats.empty() || text.find(L'%') == std::wstring_view::npos) {
    return std::wstring(text);
  }
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%' || i + 1 >= text.size()) {
      out += text[i];
      continue;
    }
    if (text[i + 1] == L'd') {
      out += std::to_wstring(repeats.back().value);
      ++i;
      continue;
    }
    const std::size_t close = text.find(L'}', i);
    if (text[i + 1] != L'{' || close == std::wstring_view::npos) {
      out += text[i];
      continue;
    }
    const std::wstring_view expression = text.substr(i + 2, close - i - 2);
    const std::size_t sign = expression.find_first_of(L"+-");
    const std::wstring_view var = expression.substr(0, sign);
    const int offset = sign == std::wstring_view::npos ? 0 : StrToInt(expression.substr(sign));
    const auto found = std::find_if(repeats.rbegin(), repeats.rend(),
                                    [var](const RepeatValue& r) { return r.var == var; });
    if (found == repeats.rend()) {
      out += text.substr(i, close - i + 1);
    } else {
      out += std::to_wstring(found->value + offset);
    }
    i = close;
  }
  return out;
}

class Builder {
 public:
  Builder(IDialogBuilderCallback* callback, CPaintManagerUI* manager, std::wstring& error)
      : mCallback(callback), mManager(manager), mError(error) {}

  std::optional<XmlNode> Load(std::wstring_view xml) {
    const std::wstring path = CResourceManager::GetInstance()->GetXmlPath(xml);
    const auto content = CResourceManager::GetInstance()->ReadFile(path);
    if (!content) {
      mError = path + L": not found in the skin";
      return std::nullopt;
    }
    return ParseXml(*content, path, mError);
  }

  std::unique_ptr<CControlUI> BuildRoot(const XmlNode& root) {
    const bool isWindow = root.tag == L"Window";
    if (!isWindow && StandardControls().contains(root.tag)) {
      return BuildControl(root, 0);
    }
    if (isWindow) {
      ApplyWindowAttributes(root);
    }
    // A window (or any wrapper element): fonts and includes, and one root control.
    CVerticalLayoutUI collector;
    if (!BuildChildren(collector, root.children, 0)) {
      return nullptr;
    }
    if (collector.GetCount() == 0) {
      mError = L"the layout has no control";
      return nullptr;
    }
    return collector.Detach(collector.GetItemAt(0));
  }

 private:
  void ApplyWindowAttributes(const XmlNode& window) {
    if (mManager == nullptr) {
      return;
    }
    for (const auto& [name, value] : window.attributes) {
      if (name == L"size") {
        const SIZE size = ParseSize(value);
        mManager->SetInitSize(size.cx, size.cy);
      } else if (name == L"caption") {
        mManager->SetCaptionRect(ParseRect(value));
      } else if (name == L"bkcolor") {
        mManager->SetWindowBkColor(ParseColor(value));
      }
    }
  }

  void AddFont(const XmlNode& node) {
    if (mManager == nullptr) {
      return;
    }
    TFontInfo font;
    font.family = node.Attribute(L"name");
    font.size = ParseInt(node.Attribute(L"size"));
    font.bold = ParseBool(node.Attribute(L"bold"));
    font.italic = ParseBool(node.Attribute(L"italic"));
    mManager->AddFont(ParseInt(node.Attribute(L"id")), std::move(font),
                      ParseBool(node.Attribute(L"default")));
  }

  bool BuildChildren(CContainerUI& parent, const std::vector<XmlNode>& nodes, int depth) {
    for (const XmlNode& node : nodes) {
      if (!BuildNode(parent, node, depth)) {
        return false;
      }
    }
    return true;
  }

  bool BuildNode(CContainerUI& parent, const XmlNode& node, int depth) {
    if (node.tag == L"Font") {
      AddFont(node);
      return true;
    }
    if (node.tag == L"Include") {
      return BuildInclude(parent, node, depth);
    }
    if (node.tag == L"Repeat") {
      return BuildRepeat(parent, node, depth);
    }
    if (auto control = BuildControl(node, depth)) {
      parent.Add(std::move(control));
      return true;
    }
    return mError.empty();
  }

  bool BuildInclude(CContainerUI& parent, const XmlNode& node, int depth) {
    if (depth >= kMaxIncludeDepth) {
      mError = L"includes nested too deeply at " + std::wstring(node.Attribute(L"source"));
      return false;
    }
    const auto included = Load(Substitute(node.Attribute(L"source"), mRepeats));
    if (!included) {
      return false;
    }
    const std::wstring_view countText = node.Attribute(L"count");
    const int count = countText.empty() ? 1 : ParseInt(countText);
    for (int i = 0; i < count; ++i) {
      if (!BuildChildren(parent, included->children, depth + 1)) {
        return false;
      }
    }
    return true;
  }

  bool BuildRepeat(CContainerUI& parent, const XmlNode& node, int depth) {
    const int from = ParseInt(Substitute(node.Attribute(L"from"), mRepeats));
    const int to = ParseInt(Substitute(node.Attribute(L"to"), mRepeats));
    if (to - from >= kMaxRepeatCount) {
      mError =
          L"repeat from " + std::to_wstring(from) + L" to " + std::to_wstring(to) + L" is too long";
      return false;
    }
    const std::wstring var(node.Attribute(L"var"));
    for (int value = from; value <= to; ++value) {
      mRepeats.push_back(RepeatValue{var, value});
      const bool built = BuildChildren(parent, node.children, depth);
      mRepeats.pop_back();
      if (!built) {
        return false;
      }
    }
    return true;
  }

  std::unique_ptr<CControlUI> CreateFor(std::wstring_view tag) {
    const auto& standard = StandardControls();
    if (const auto found = standard.find(tag); found != standard.end()) {
      return found->second();
    }
    return mCallback != nullptr ? mCallback->CreateControl(tag) : nullptr;
  }

  // Null with an empty error for an unknown tag (skipped); null with an error when broken.
  std::unique_ptr<CControlUI> BuildControl(const XmlNode& node, int depth) {
    std::unique_ptr<CControlUI> control = CreateFor(node.tag);
    if (!control) {
      DebugLog(L"layout: unknown tag %ls skipped\n", node.tag.c_str());
      return nullptr;
    }
    for (const auto& [name, value] : node.attributes) {
      control->SetAttribute(name, Substitute(value, mRepeats));
    }
    if (auto* container = dynamic_cast<CContainerUI*>(control.get())) {
      if (!BuildChildren(*container, node.children, depth)) {
        return nullptr;
      }
    }
    return control;
  }

  IDialogBuilderCallback* mCallback;
  CPaintManagerUI* mManager;
  std::wstring& mError;
  std::vector<RepeatValue> mRepeats;
};

}  // namespace

std::unique_ptr<CControlUI> CDialogBuilder::Create(std::wstring_view xml,
                                                   IDialogBuilderCallback* callback,
                                                   CPaintManagerUI* manager) {
  mError.clear();
  Builder builder(callback, manager, mError);
  const auto root = builder.Load(xml);
  if (!root) {
    return nullptr;
  }
  auto control = builder.BuildRoot(*root);
  if (!control && mError.empty()) {
    mError = std::wstring(xml) + L": the root control is unknown";
  }
  return control;
}

}  // namespace DuiLib
