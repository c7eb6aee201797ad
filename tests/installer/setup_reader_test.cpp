// The installer's reader on setups the program built: the trailer and the script are
// accepted, every stored payload file comes back byte for byte across volumes, a missing
// volume is asked for, and damaged or truncated copies are refused.
#include <cstring>
#include <functional>

#include "installer_support.h"

namespace bvq::test {
namespace {
namespace fs = std::filesystem;

int Collect(void* out, const void* bytes, size_t n) {
  static_cast<std::string*>(out)->append(static_cast<const char*>(bytes), n);
  return 1;
}

// Asked for a missing volume: records the disk and path, and lets the test decide.
struct VolumeQuestion {
  std::vector<std::pair<int, std::wstring>> asked;
  std::function<bool()> answer = [] { return false; };
  static int Ask(void* ctx, int disk, const wchar_t* path) {
    auto* q = static_cast<VolumeQuestion*>(ctx);
    q->asked.emplace_back(disk, path);
    return q->answer() ? 1 : 0;
  }
};

// Reads every stored payload file in order: the files' bytes, or the reader's error.
struct StoredPayload {
  std::vector<std::string> files;
  std::wstring error;
  bool missingVolume = false;
  int lastVolume = 0;
  unsigned long long left = 0;
};

StoredPayload ReadStoredPayload(SetupFile& setup, VolumeQuestion* question = nullptr) {
  StoredPayload out;
  PayloadReader r;
  payload_open(&r, &setup, question ? VolumeQuestion::Ask : nullptr, question);
  for (size_t j = 0; j < setup.script.entries[SEC_G]; ++j) {
    unsigned char raw[STORED_HEADER_SIZE];
    StoredHeader h;
    std::string bytes;
    if (!payload_read(&r, raw, sizeof raw)) break;
    stored_header_read(raw, &h);
    EXPECT_EQ(h.number, j);
    if (!payload_copy(&r, Collect, &bytes, h.size, nullptr, nullptr)) break;
    out.files.push_back(bytes);
  }
  out.error = r.error ? r.error : L"";
  out.missingVolume = r.missing_volume;
  out.lastVolume = r.volume;
  out.left = r.left;
  payload_close(&r);
  return out;
}

std::vector<std::string> SourceBytes(const std::vector<std::pair<std::string, std::string>>& sources) {
  std::vector<std::string> bytes;
  for (const auto& s : sources) bytes.push_back(s.second);
  return bytes;
}

TEST_F(BuiltSetupTest, ReadsTheScriptTheBuildWrote) {
  auto volumes = Build(false, 0);
  ASSERT_EQ(volumes.size(), 1u);
  OpenSetup s(volumes[0]);
  ASSERT_EQ(s.error, L"");
  EXPECT_FALSE(s.setup.trailer.cabinets);
  EXPECT_STREQ(script_field(&s.setup.script, FLD_PRODUCT), "Tool");
  EXPECT_STREQ(script_field(&s.setup.script, FLD_VERSION), "2.5");
  EXPECT_STREQ(script_field(&s.setup.script, FLD_COMPANY), "Acme");
  EXPECT_TRUE(script_flag(&s.setup.script, FLD_SINGLE_FILE));
  EXPECT_TRUE(script_flag(&s.setup.script, FLD_SILENT));
  ASSERT_EQ(s.setup.script.entries[SEC_G], 3u);
  const std::vector<std::string> destinations = {"@$&%04\\app.bin", "@$&%81\\readme.txt", "@$&%04\\empty.dat"};
  for (size_t j = 0; j < destinations.size(); ++j)
    EXPECT_EQ(script_value(&s.setup.script, SEC_G, j, G_DEST), destinations[j]);
  EXPECT_EQ(std::stoi(script_value(&s.setup.script, SEC_G, 2, G_MODE)), MODE_SKIP);
  EXPECT_FALSE(script_yes(script_value(&s.setup.script, SEC_G, 2, G_UNINSTALL)));
  ASSERT_EQ(s.setup.script.entries[SEC_B], 1u);
  EXPECT_EQ(registry_root_number(script_value(&s.setup.script, SEC_B, 0, B_ROOT)), ROOT_CURRENT_USER);
  EXPECT_STREQ(script_value(&s.setup.script, SEC_B, 0, B_DEFAULT), "@$&%04\\data");
  // A number field gives its number whatever the fallback; a field without a number (a
  // position a hand-made setup left empty) gives the caller's fallback instead of 0.
  EXPECT_EQ(script_number_or(&s.setup.script, FLD_FILE_COUNT, -1), 3);
  EXPECT_EQ(script_number_or(&s.setup.script, FLD_PRODUCT, -1), -1);
  EXPECT_EQ(script_number(&s.setup.script, FLD_PRODUCT), 0);
  // Past the last column or entry there is nothing rather than a neighbour's value.
  EXPECT_STREQ(script_value(&s.setup.script, SEC_G, 3, G_DEST), "");
  EXPECT_STREQ(script_value(&s.setup.script, SEC_G, 0, G_UNINSTALL + 1), "");
}

TEST_F(BuiltSetupTest, StoredPayloadInOneFile) {
  auto volumes = Build(false, 0);
  ASSERT_EQ(volumes.size(), 1u);
  OpenSetup s(volumes[0]);
  ASSERT_EQ(s.error, L"");
  StoredPayload payload = ReadStoredPayload(s.setup);
  EXPECT_EQ(payload.error, L"");
  EXPECT_EQ(payload.files, SourceBytes(sources));
  EXPECT_EQ(payload.left, 0u);  // the records fill the payload exactly
}

TEST_F(BuiltSetupTest, StoredPayloadAcrossVolumes) {
  auto volumes = Build(false, 20);
  ASSERT_GT(volumes.size(), 3u);
  OpenSetup s(volumes[0]);
  ASSERT_EQ(s.error, L"");
  EXPECT_FALSE(script_flag(&s.setup.script, FLD_SINGLE_FILE));
  VolumeQuestion question;
  StoredPayload payload = ReadStoredPayload(s.setup, &question);
  EXPECT_EQ(payload.error, L"");
  EXPECT_TRUE(question.asked.empty());
  EXPECT_EQ(payload.files, SourceBytes(sources));
  EXPECT_EQ(payload.lastVolume + 1, static_cast<int>(volumes.size()));
  EXPECT_EQ(payload.left, 0u);
}

// The cabinet form across volumes: the reader gives back the chain of cabinets by the
// script's sizes; with their signatures again, the chain unpacks to the sources.
TEST_F(BuiltSetupTest, CabinetPayloadAcrossVolumes) {
  auto volumes = Build(true, 20);
  ASSERT_GT(volumes.size(), 2u);
  OpenSetup s(volumes[0]);
  ASSERT_EQ(s.error, L"");
  ASSERT_TRUE(s.setup.trailer.cabinets);
  PayloadReader r;
  payload_open(&r, &s.setup, nullptr, nullptr);
  TempFolder cabs;
  const int count = payload_cabinet_count(&s.setup.script);
  for (int i = 0; i < count; ++i) {
    std::string cabinet = CABINET_SIGNATURE;
    ASSERT_TRUE(payload_copy(&r, Collect, &cabinet, payload_cabinet_size(&s.setup.script, i), nullptr, nullptr))
        << "cabinet " << i << ": " << Take(w_dup(r.error));
    char name[16];
    std::snprintf(name, sizeof name, "%04d.tmp", i);  // the names the cabinets link to
    WriteFile(cabs.Path() + name, cabinet);
  }
  EXPECT_EQ(r.left, 0u);
  EXPECT_EQ(r.volume + 1, static_cast<int>(volumes.size()));
  payload_close(&r);
  std::string out;
  ASSERT_EQ(test::Run("cabextract -q -d '" + cabs.Path() + "x' '" + cabs.Path() + "0000.tmp'", &out), 0) << out;
  for (size_t j = 0; j < sources.size(); ++j)
    EXPECT_EQ(ReadFile(cabs.Path() + "x/" + std::to_string(j)), sources[j].second) << sources[j].first;
}

TEST_F(BuiltSetupTest, MissingVolumeIsAskedForUntilItComesBack) {
  auto volumes = Build(false, 20);
  ASSERT_GT(volumes.size(), 3u);
  const std::string third = volumes[2], aside = volumes[2] + ".away";
  fs::rename(third, aside);

  {  // given up: the reader reports the missing disk
    OpenSetup s(volumes[0]);
    ASSERT_EQ(s.error, L"");
    VolumeQuestion question;
    StoredPayload payload = ReadStoredPayload(s.setup, &question);
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0].first, 3);
    EXPECT_TRUE(question.asked[0].second.ends_with(L"\\disk3.pak")) << question.asked[0].second;
    EXPECT_TRUE(payload.missingVolume);
    EXPECT_NE(payload.error.find(L"Disk 3"), std::wstring::npos) << payload.error;
    EXPECT_LT(payload.files.size(), sources.size());
  }
  {  // the disk is inserted on the second question: reading goes on where it stopped
    OpenSetup s(volumes[0]);
    VolumeQuestion question;
    question.answer = [&] {
      if (question.asked.size() == 2) fs::rename(aside, third);
      return true;
    };
    StoredPayload payload = ReadStoredPayload(s.setup, &question);
    EXPECT_EQ(question.asked.size(), 2u);
    EXPECT_EQ(payload.error, L"");
    EXPECT_EQ(payload.files, SourceBytes(sources));
  }
}

// Copies of a built setup, damaged in one place each: the reader refuses every one as damaged.
TEST_F(BuiltSetupTest, DamagedAndTruncatedSetupsAreRefused) {
  auto volumes = Build(false, 0);
  ASSERT_EQ(volumes.size(), 1u);
  const std::string good = ReadFile(volumes[0]);
  const size_t trailer = good.size() - TRAILER_SIZE;
  auto offset = [&](int at) { return LittleEndian(good, trailer + at, 8); };
  auto setOffset = [](std::string& b, size_t at, uint64_t v) {
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
  };
  const uint64_t scriptStart = offset(TRAILER_AT_SCRIPT_START), scriptEnd = offset(TRAILER_AT_SCRIPT_END);
  const std::vector<std::string> values = ScriptValues(good.substr(scriptStart, scriptEnd - scriptStart));
  // The same file with another script of the same length.
  auto withScript = [&](std::vector<std::string> v) {
    std::string b = good;
    const std::string script = ScriptBytes(v);
    EXPECT_EQ(script.size(), scriptEnd - scriptStart);
    b.replace(scriptStart, script.size(), script);
    return b;
  };
  auto withField = [&](int field, const std::string& value) {
    std::vector<std::string> v = values;
    v[field] = value;
    return withScript(v);
  };

  struct Case {
    const char* what;
    std::function<std::string()> bytes;
  };
  const std::vector<Case> cases = {
      {"last byte cut off", [&] { return good.substr(0, good.size() - 1); }},
      {"only the trailer left", [&] { return good.substr(trailer); }},
      {"shorter than a trailer", [&] { return good.substr(good.size() - 20); }},
      {"empty", [&] { return std::string(); }},
      {"trailer mark changed", [&] { std::string b = good; b[trailer + TRAILER_AT_MARK] ^= 1; return b; }},
      {"last field number changed", [&] { std::string b = good; b[trailer + TRAILER_AT_LAST_FIELD] = 119; return b; }},
      {"unknown storage form", [&] { std::string b = good; b[trailer + TRAILER_AT_STORAGE] = 2; return b; }},
      {"script end past the payload",
       [&] { std::string b = good; setOffset(b, trailer + TRAILER_AT_SCRIPT_END, offset(TRAILER_AT_DATA_END) + 1); return b; }},
      {"data size that does not match",
       [&] { std::string b = good; setOffset(b, trailer + TRAILER_AT_DATA_SIZE, offset(TRAILER_AT_DATA_SIZE) + 1); return b; }},
      {"payload cut out of the middle",
       [&] { return good.substr(0, trailer - 1000) + good.substr(trailer); }},
      {"script without its last terminator",
       [&] {
         std::string b = good;
         setOffset(b, trailer + TRAILER_AT_SCRIPT_END, scriptEnd - 1);
         setOffset(b, trailer + TRAILER_AT_DATA_SIZE, offset(TRAILER_AT_DATA_SIZE) + 1);
         return b;
       }},
      {"file count one too high", [&] { return withField(FLD_FILE_COUNT, "4"); }},
      {"file count one too low", [&] { return withField(FLD_FILE_COUNT, "2"); }},
      {"language count not a number", [&] { return withField(FLD_LANGUAGE_COUNT, "x"); }},
      {"texts per language not a number", [&] { return withField(FLD_TEXTS_PER_LANGUAGE, "9x"); }},
      {"one value split in two",
       [&] {
         std::vector<std::string> v = values;
         v[FLD_PRODUCT] = "ol";  // "Tool" becomes "T" and "ol": one value more, same length
         v.insert(v.begin() + FLD_PRODUCT, "T");
         return withScript(v);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string copy = projectDir.Path() + "damaged.exe";
    WriteFile(copy, c.bytes());
    OpenSetup s(copy);
    if (s.error.empty()) {
      // Opened: then reading the payload must find the setup damaged.
      StoredPayload payload = ReadStoredPayload(s.setup);
      EXPECT_NE(payload.error.find(L"The setup file is damaged"), std::wstring::npos) << payload.error;
      EXPECT_NE(payload.files, SourceBytes(sources));
    } else {
      EXPECT_TRUE(s.error.starts_with(L"The setup file is damaged")) << s.error;
    }
  }
}

}  // namespace
}  // namespace bvq::test
