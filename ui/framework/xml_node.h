// A parsed XML element tree, as the layout and menu builders walk it (framework only).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace DuiLib {

struct XmlNode {
  std::wstring tag;
  std::vector<std::pair<std::wstring, std::wstring>> attributes;
  std::vector<XmlNode> children;

  // The attribute's value; empty when absent.
  std::wstring_view Attribute(std::wstring_view name) const;
};

// The document's root element, or null with `error` naming the file and line.
std::optional<XmlNode> ParseXml(const std::string& bytes, std::wstring_view file,
                                std::wstring& error);

}  // namespace DuiLib
