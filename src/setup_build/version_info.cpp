#include "setup_build/version_info.h"

#include <cstring>
#include <optional>
#include <vector>

#include "setup_build/binary_file.h"
#include "resedit/resource_locate.h"
#include "util/code_page.h"
#include "util/strings.h"

namespace bvq {

bool ParseVersionNumbers(std::string_view text, VersionWords& words) {
  uint32_t parts[4] = {0, 0, 0, 0};
  std::string rest(text);
  for (uint32_t& part : parts) {
    if (TrimBlanks(rest).empty()) break;  // remaining text blank: this and the rest are 0
    size_t dot = rest.find('.');
    std::string number = TrimBlanks(rest.substr(0, dot));
    rest = dot == std::string::npos ? std::string() : rest.substr(dot + 1);
    if (number.empty() || number.size() > 5) return false;
    uint32_t value = 0;
    for (char c : number) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value > 65535) return false;
    part = value;
  }
  words.mostSignificant = parts[0] << 16 | parts[1];
  words.leastSignificant = parts[2] << 16 | parts[3];
  return true;
}

namespace {

uint16_t Get16(const std::vector<uint8_t>& b, size_t o) { return static_cast<uint16_t>(b[o] | b[o + 1] << 8); }
void Put32(std::vector<uint8_t>& b, size_t o, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[o + i] = static_cast<uint8_t>(v >> (8 * i));
}
size_t Align4(size_t v) { return (v + 3) & ~size_t{3}; }

std::vector<uint8_t> ReadAt(BinaryFile& file, uint64_t offset, size_t size) {
  std::vector<uint8_t> bytes(size);
  file.Seek(offset);
  if (file.Read(bytes.data(), size) != size) return {};
  return bytes;
}

// One node of a version block: length, value length, type, key, value, children.
struct VersionNode {
  size_t start = 0, end = 0;
  std::u16string key;
  size_t valueOffset = 0;
  uint16_t valueLength = 0;
  uint16_t type = 0;
  size_t childrenStart = 0;
};

std::optional<VersionNode> ParseNode(const std::vector<uint8_t>& b, size_t start, size_t limit) {
  if (start + 6 > limit) return std::nullopt;
  VersionNode n;
  n.start = start;
  uint16_t length = Get16(b, start);
  if (length < 6 || start + length > limit) return std::nullopt;
  n.end = start + length;
  n.valueLength = Get16(b, start + 2);
  n.type = Get16(b, start + 4);
  size_t o = start + 6;
  for (;;) {
    if (o + 2 > n.end) return std::nullopt;
    char16_t c = Get16(b, o);
    o += 2;
    if (c == 0) break;
    n.key.push_back(c);
  }
  n.valueOffset = Align4(o);
  size_t valueBytes = n.type == 1 ? size_t{n.valueLength} * 2 : n.valueLength;
  n.childrenStart = std::min(Align4(n.valueOffset + valueBytes), n.end);
  return n;
}

bool KeyEquals(const std::u16string& key, std::string_view ascii) {
  if (key.size() != ascii.size()) return false;
  auto lower = [](char16_t c) { return c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c; };
  for (size_t i = 0; i < key.size(); ++i) {
    if (lower(key[i]) != lower(static_cast<char16_t>(static_cast<unsigned char>(ascii[i])))) return false;
  }
  return true;
}

std::optional<VersionNode> FindChild(const std::vector<uint8_t>& b, const VersionNode& parent, std::string_view key) {
  size_t o = parent.childrenStart;
  while (o < parent.end) {
    auto child = ParseNode(b, o, parent.end);
    if (!child) return std::nullopt;
    if (KeyEquals(child->key, key)) return child;
    o = Align4(child->end);
  }
  return std::nullopt;
}

}  // namespace

bool PatchVersionInfo(const std::string& path, const VersionWords& version, const VersionTexts& texts) {
  BinaryFile file(path, BinaryFile::Mode::ReadWrite);
  const std::optional<ResourceLocation> where = LocateVersionResource(path);
  if (!where || where->fileOffset + where->size > file.Size()) return false;
  const uint64_t offset = where->fileOffset;
  const uint32_t size = where->size;
  std::vector<uint8_t> block = ReadAt(file, offset, size);
  if (block.size() != size) return false;

  auto root = ParseNode(block, 0, block.size());
  if (!root || !KeyEquals(root->key, "VS_VERSION_INFO") || root->valueLength < 16) return false;
  auto stringInfo = FindChild(block, *root, "StringFileInfo");
  if (!stringInfo) return false;
  auto table = FindChild(block, *stringInfo, "040904e4");
  if (!table) return false;

  const std::pair<const char*, const std::string*> values[] = {
      {"CompanyName", &texts.companyName},
      {"FileDescription", &texts.fileDescription},
      {"FileVersion", &texts.fileVersion},
      {"LegalCopyright", &texts.legalCopyright},
  };
  std::vector<std::pair<size_t, std::u16string>> writes;
  for (const auto& [key, text] : values) {
    auto node = FindChild(block, *table, key);
    if (!node) return false;
    // Room: the existing characters up to the first zero, within the node.
    size_t room = 0;
    for (size_t o = node->valueOffset; room < node->valueLength && o + 2 <= node->end && Get16(block, o) != 0; o += 2) ++room;
    std::u16string value = Utf8ToUtf16Lenient(AnsiToUtf8(*text));
    if (value.size() > room) value.resize(room);
    writes.emplace_back(node->valueOffset, value);
  }
  for (const auto& [at, value] : writes) {
    for (size_t i = 0; i < value.size(); ++i) {
      block[at + 2 * i] = static_cast<uint8_t>(value[i] & 0xFF);
      block[at + 2 * i + 1] = static_cast<uint8_t>(value[i] >> 8);
    }
  }
  Put32(block, root->valueOffset + 8, version.mostSignificant);
  Put32(block, root->valueOffset + 12, version.leastSignificant);

  file.Seek(offset);
  file.Write(block.data(), block.size());
  file.Close();
  return true;
}

}  // namespace bvq
