// The stored recent-projects list: one entry per path whatever its letter case, missing
// files dropped, the newest first, at most ten, and the names a save proposes.
#include "app/recent_projects.h"

#include <gtest/gtest.h>

#include "app/file_names.h"
#include "test_support.h"

namespace bvq::test {
namespace {

TEST(RecentProjects, RepeatedAndMissingEntriesAreDropped) {
  TempFolder dir;
  const std::string a = dir.Path() + "a.bvq", b = dir.Path() + "b.bvq";
  WriteFile(a, "x");
  WriteFile(b, "x");
  SettingsStore store(dir.Path() + "settings.conf");
  store.SetString(SettingsStore::kReopenSection, "0", a);
  store.SetString(SettingsStore::kReopenSection, "1", dir.Path() + "A.BVQ");  // the same path in another case
  store.SetString(SettingsStore::kReopenSection, "2", dir.Path() + "gone.bvq");
  store.SetString(SettingsStore::kReopenSection, "3", b);

  EXPECT_EQ(app::RefreshRecent(store), (std::vector<std::string>{a, b}));
  EXPECT_EQ(app::RefreshRecent(store, b), (std::vector<std::string>{b, a}));
  // Written anew, as the window's next start reads it.
  SettingsStore reread = SettingsStore::Open(dir.Path() + "settings.conf");
  EXPECT_EQ(app::StoredRecent(reread), (std::vector<std::string>{b, a}));
  EXPECT_EQ(reread.Names(SettingsStore::kReopenSection), (std::vector<std::string>{"0", "1"}));
}

TEST(ProjectFileNames, ProposalSkipsTakenNamesAndStripsWildcards) {
  TempFolder dir;
  EXPECT_EQ(app::ProposeProjectFile("My \"Tool\"?*", dir.Path()), dir.Path() + "My Tool.bvq");
  EXPECT_EQ(app::ProposeProjectFile("\"?\"", dir.Path()), dir.Path() + "NewProduct.bvq");
  WriteFile(dir.Path() + "Tool.bvq", "x");
  WriteFile(dir.Path() + "Tool1.bvq", "x");
  EXPECT_EQ(app::ProposeProjectFile("Tool", dir.Path()), dir.Path() + "Tool2.bvq");

  const struct { const char* chosen; const char* saved; } cases[] = {
      {"/p/Tool", "/p/Tool.bvq"}, {"/p/Tool.txt", "/p/Tool.txt"}, {"/p/Tool.bvq", "/p/Tool.bvq"}, {"/p/v1.0", "/p/v1.0.bvq"}};
  for (const auto& c : cases) EXPECT_EQ(app::WithProjectExtension(c.chosen), c.saved) << c.chosen;

  EXPECT_EQ(app::WindowTitle("/p/Setup.BVQ").substr(0, 8), "Setup - ");
  EXPECT_EQ(app::WindowTitle("").substr(0, 19), "Belvandorithquessal");
}

}  // namespace
}  // namespace bvq::test
