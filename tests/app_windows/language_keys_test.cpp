// Every language key that a layout or the program's code uses must have a text in both language
// tables, and the two tables must offer the same keys. The test reads the source tree, so it keeps
// watching as layouts and windows are added.
#include <QFile>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/app_windows/skin_environment.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_utils.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = VEXARO_SOURCE_DIR;

struct LanguageTable {
  std::map<std::string, std::string> texts;
  std::set<std::string> duplicates;
  std::string error;
};

LanguageTable ReadTable(const fs::path& path) {
  LanguageTable table;
  QFile file(QString::fromStdString(path.string()));
  if (!file.open(QIODevice::ReadOnly)) {
    table.error = "cannot open " + path.string();
    return table;
  }
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Text")) {
      const std::string id = xml.attributes().value("id").toString().toStdString();
      const std::string value = xml.attributes().value("value").toString().toStdString();
      if (!table.texts.emplace(id, value).second) {
        table.duplicates.insert(id);
      }
    }
  }
  if (xml.hasError()) {
    table.error = path.string() + ": " + xml.errorString().toStdString();
  }
  return table;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// C++ source without its comments, so that keys quoted in documentation do not count; string
// and character literals are kept as they are.
std::string WithoutComments(const std::string& code) {
  std::string out;
  out.reserve(code.size());
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == '"' || c == '\'') {
      const std::size_t start = i;
      for (++i; i < code.size() && code[i] != c && code[i] != '\n'; ++i) {
        if (code[i] == '\\') {
          ++i;
        }
      }
      out.append(code, start, i - start + 1);
    } else if (code.compare(i, 2, "//") == 0) {
      i = code.find('\n', i);
      if (i == std::string::npos) {
        break;
      }
      out += '\n';
    } else if (code.compare(i, 2, "/*") == 0) {
      i = code.find("*/", i + 2);
      if (i == std::string::npos) {
        break;
      }
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// key -> the first file that uses it
std::map<std::string, std::string> CollectUsedKeys() {
  static const std::regex kKey(R"(\$\{[A-Za-z0-9_ ]+\})");
  static const std::regex kXmlComment(R"(<!--[\s\S]*?-->)");
  std::map<std::string, std::string> used;
  const auto scan = [&](const fs::path& root, const std::set<std::string>& extensions,
                        const fs::path& skip) {
    if (!fs::exists(root)) {
      return;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file() || !extensions.contains(entry.path().extension().string()) ||
          (!skip.empty() && entry.path().parent_path() == skip)) {
        continue;
      }
      const std::string text = entry.path().extension() == ".xml"
                                   ? std::regex_replace(ReadAll(entry.path()), kXmlComment, "")
                                   : WithoutComments(ReadAll(entry.path()));
      for (std::sregex_iterator it(text.begin(), text.end(), kKey), end; it != end; ++it) {
        used.emplace(it->str(), fs::relative(entry.path(), kSourceDir).string());
      }
    }
  };
  scan(kSourceDir / "skin", {".xml"}, kSourceDir / "skin" / "lan");
  for (const char* folder : {"ui", "app", "model"}) {
    scan(kSourceDir / folder, {".h", ".cpp"}, {});
  }
  return used;
}

TEST(LanguageKeys, BothTablesAreWellFormedAndOfferTheSameKeys) {
  const LanguageTable cn = ReadTable(kSourceDir / "skin/lan/lan_cn.xml");
  const LanguageTable en = ReadTable(kSourceDir / "skin/lan/lan_en.xml");
  ASSERT_EQ(cn.error, "");
  ASSERT_EQ(en.error, "");
  EXPECT_TRUE(cn.duplicates.empty()) << "duplicate in lan_cn.xml: " << *cn.duplicates.begin();
  EXPECT_TRUE(en.duplicates.empty()) << "duplicate in lan_en.xml: " << *en.duplicates.begin();
  for (const auto& [key, text] : cn.texts) {
    EXPECT_TRUE(key.starts_with("${") && key.ends_with("}")) << "malformed id " << key;
    EXPECT_FALSE(text.empty()) << key << " has no Chinese text";
    EXPECT_TRUE(en.texts.contains(key)) << key << " is missing from lan_en.xml";
  }
  for (const auto& [key, text] : en.texts) {
    EXPECT_FALSE(text.empty()) << key << " has no English text";
    EXPECT_TRUE(cn.texts.contains(key)) << key << " is missing from lan_cn.xml";
  }
}

TEST(LanguageKeys, EveryKeyUsedByLayoutsAndCodeHasTextsInBothTables) {
  const LanguageTable cn = ReadTable(kSourceDir / "skin/lan/lan_cn.xml");
  const LanguageTable en = ReadTable(kSourceDir / "skin/lan/lan_en.xml");
  const auto used = CollectUsedKeys();
  // The dialogs alone use more than a dozen keys; finding none means the scan looked nowhere.
  ASSERT_GT(used.size(), 12u);
  for (const auto& [key, file] : used) {
    EXPECT_TRUE(cn.texts.contains(key)) << key << " (used in " << file << ") missing from lan_cn";
    EXPECT_TRUE(en.texts.contains(key)) << key << " (used in " << file << ") missing from lan_en";
  }
}

TEST(LanguageKeys, FormattedTextsKeepTheirPlaceholdersInBothLanguages) {
  const LanguageTable cn = ReadTable(kSourceDir / "skin/lan/lan_cn.xml");
  const LanguageTable en = ReadTable(kSourceDir / "skin/lan/lan_en.xml");
  static const std::regex kPlaceholder(R"(%[-+ #0]*[0-9]*(\.[0-9]+)?[a-zA-Z%])");
  const auto placeholders = [](const std::string& text) {
    std::string found;
    for (std::sregex_iterator it(text.begin(), text.end(), kPlaceholder), end; it != end; ++it) {
      found += it->str();
    }
    return found;
  };
  for (const auto& [key, text] : cn.texts) {
    const auto other = en.texts.find(key);
    if (other != en.texts.end()) {
      EXPECT_EQ(placeholders(text), placeholders(other->second)) << key;
    }
  }
}

TEST(LanguageKeys, FormattedKeysTakeNonAsciiNamesInBothLanguages) {
  auto& resources = *DuiLib::CResourceManager::GetInstance();
  for (const wchar_t* language : {L"en", L"cn_zh"}) {
    ASSERT_TRUE(resources.SelectLanguage(language));
    for (const wchar_t* name : {L"Rock", L"中文", L"été"}) {
      const std::wstring load =
          DuiLib::Format(test_env::GetText(L"${load_scene_tips1}").c_str(), 3, name);
      EXPECT_NE(load.find(name), std::wstring::npos) << test_env::ToUtf8(load);
      EXPECT_NE(load.find(L'3'), std::wstring::npos) << test_env::ToUtf8(load);
      const std::wstring same =
          DuiLib::Format(test_env::GetText(L"${same_name_tips}").c_str(), name, 7, L"Jazz");
      EXPECT_NE(same.find(name), std::wstring::npos) << test_env::ToUtf8(same);
      EXPECT_NE(same.find(L"Jazz"), std::wstring::npos) << test_env::ToUtf8(same);
    }
  }
  ASSERT_TRUE(resources.SelectLanguage(L"cn_zh"));
}

}  // namespace
