#include "build/version_info.h"

#include <cstring>
#include <optional>
#include <vector>

#include "build/binary_file.h"
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
uint32_t Get32(const std::vector<uint8_t>& b, size_t o) {
  return static_cast<uint32_t>(b[o]) | static_cast<uint32_t>(b[o + 1]) << 8 |
         static_cast<uint32_t>(b[o + 2]) << 16 | static_cast<uint32_t>(b[o + 3]) << 24;
}
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

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) cp = c;
    else if ((c >> 5) == 6 && i + 1 < s.size()) { cp = (c & 0x1F) << 6 | (s[i + 1] & 0x3F); len = 2; }
    else if ((c >> 4) == 14 && i + 2 < s.size()) { cp = (c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F); len = 3; }
    else if ((c >> 3) == 30 && i + 3 < s.size()) {
      cp = (c & 0x07) << 18 | (s[i + 1] & 0x3F) << 12 | (s[i + 2] & 0x3F) << 6 | (s[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

// Locates the version block: its file offset and size.
bool FindVersionBlock(BinaryFile& file, uint64_t& offset, uint32_t& size) {
  uint64_t fileSize = file.Size();
  auto dos = ReadAt(file, 0, 64);
  if (dos.size() != 64 || dos[0] != 'M' || dos[1] != 'Z') return false;
  uint32_t pe = Get32(dos, 60);
  auto headers = ReadAt(file, pe, 4 + 20);
  if (headers.empty() || Get32(headers, 0) != 0x00004550) return false;
  uint16_t sectionCount = Get16(headers, 4 + 2);
  uint16_t optionalSize = Get16(headers, 4 + 16);
  if (optionalSize < 96 + 3 * 8) return false;
  auto optional = ReadAt(file, pe + 24, optionalSize);
  if (optional.empty() || Get16(optional, 0) != 0x10B) return false;  // 32-bit image only
  uint32_t resourceRva = Get32(optional, 96 + 2 * 8);
  if (resourceRva == 0) return false;
  auto sections = ReadAt(file, pe + 24 + optionalSize, size_t{sectionCount} * 40);
  if (sections.empty()) return false;
  uint32_t sectionRva = 0, rawSize = 0, rawOffset = 0;
  bool found = false;
  for (size_t i = 0; i < sectionCount && !found; ++i) {
    size_t s = i * 40;
    if (Get32(sections, s + 12) == resourceRva && Get32(sections, s + 16) != 0) {
      sectionRva = resourceRva;
      rawSize = Get32(sections, s + 16);
      rawOffset = Get32(sections, s + 20);
      found = true;
    }
  }
  if (!found || uint64_t{rawOffset} + rawSize > fileSize) return false;
  auto tree = ReadAt(file, rawOffset, rawSize);
  if (tree.empty()) return false;

  // Levels: type 16, name 1, then the first entry that points to data.
  uint32_t dir = 0;
  const uint32_t wanted[2] = {16, 1};
  for (int level = 0; level < 3; ++level) {
    if (uint64_t{dir} + 16 > rawSize) return false;
    uint32_t count = uint32_t{Get16(tree, dir + 12)} + Get16(tree, dir + 14);
    std::optional<uint32_t> next;
    for (uint32_t e = 0; e < count && !next; ++e) {
      size_t entry = dir + 16 + size_t{e} * 8;
      if (entry + 8 > rawSize) return false;
      uint32_t name = Get32(tree, entry);
      uint32_t target = Get32(tree, entry + 4);
      bool isDirectory = (target & 0x80000000u) != 0;
      if (level < 2) {
        if ((name & 0x80000000u) == 0 && name == wanted[level] && isDirectory) next = target & 0x7FFFFFFFu;
      } else if (!isDirectory) {
        next = target;
      }
    }
    if (!next) return false;
    dir = *next;
  }
  if (uint64_t{dir} + 16 > rawSize) return false;
  uint32_t dataRva = Get32(tree, dir);
  size = Get32(tree, dir + 4);
  if (dataRva < sectionRva) return false;
  offset = uint64_t{dataRva} - sectionRva + rawOffset;
  return offset + size <= fileSize;
}

}  // namespace

bool PatchVersionInfo(const std::string& path, const VersionWords& version, const VersionTexts& texts) {
  BinaryFile file(path, BinaryFile::Mode::ReadWrite);
  uint64_t offset = 0;
  uint32_t size = 0;
  if (!FindVersionBlock(file, offset, size)) return false;
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
    std::u16string value = Utf8ToUtf16(AnsiToUtf8(*text));
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
