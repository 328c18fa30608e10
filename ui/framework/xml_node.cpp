#include "ui/framework/xml_node.h"

#include <QXmlStreamReader>

#include "ui/framework/qt_convert.h"

namespace DuiLib {

std::wstring_view XmlNode::Attribute(std::wstring_view name) const {
  for (const auto& [key, value] : attributes) {
    if (key == name) {
      return value;
    }
  }
  return {};
}

std::optional<XmlNode> ParseXml(const std::string& bytes, std::wstring_view file,
                                std::wstring& error) {
  QXmlStreamReader reader(QByteArray::fromStdString(bytes));
  std::vector<XmlNode> stack;
  std::optional<XmlNode> root;
  while (!reader.atEnd()) {
    const auto token = reader.readNext();
    if (token == QXmlStreamReader::StartElement) {
      XmlNode node;
      node.tag = ToWString(reader.name().toString());
      for (const auto& attribute : reader.attributes()) {
        node.attributes.emplace_back(ToWString(attribute.name().toString()),
                                     ToWString(attribute.value().toString()));
      }
      stack.push_back(std::move(node));
    } else if (token == QXmlStreamReader::EndElement && !stack.empty()) {
      XmlNode done = std::move(stack.back());
      stack.pop_back();
      if (stack.empty()) {
        root = std::move(done);
      } else {
        stack.back().children.push_back(std::move(done));
      }
    }
  }
  if (reader.hasError() || !root) {
    error = std::wstring(file) + L": line " + std::to_wstring(reader.lineNumber()) + L": " +
            (reader.hasError() ? ToWString(reader.errorString()) : std::wstring(L"empty"));
    return std::nullopt;
  }
  return root;
}

}  // namespace DuiLib
