#include <gtest/gtest.h>

#include "entry_test_support.h"
#include "project/deletion_entries.h"
#include "project/font_entries.h"
#include "project/interface_text_ids.h"
#include "project_test_support.h"

namespace bvq {
namespace {

using test::Cells;

class FontEntries : public test::ProjectTest {
 protected:
  const std::string kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
};

TEST_F(FontEntries, PickingAProjectFontFillsAnEmptyNameFromItsSource) {
  ASSERT_TRUE(FileExists(kFont)) << "fonts-dejavu-core is installed by scripts/setup";
  project_.files.AppendCells({"/nowhere/Other.ttf", "%FontDir%\\Other.ttf", "", ""});
  project_.files.AppendCells({kFont, "%FontDir%\\DejaVuSans.ttf", "", ""});
  project_.files.AppendCells({folder_.Write("fake.ttf", "not a font"), "%FontDir%\\Fake.ttf", "", ""});

  FontFields f;
  PickFontFile(project_, f, "%FontDir%\\DejaVuSans.ttf");
  EXPECT_EQ(f.File, "%FontDir%\\DejaVuSans.ttf");
  EXPECT_EQ(f.Name, "DejaVu Sans");

  FontFields typed{"My Name", ""};  // a typed name is kept
  PickFontFile(project_, typed, "%FontDir%\\DejaVuSans.ttf");
  EXPECT_EQ(typed.Name, "My Name");

  for (const char* dest : {"%FontDir%\\Other.ttf", "%FontDir%\\Fake.ttf", "%FontDir%\\NotInProject.ttf"}) {
    FontFields left;  // a missing source, a file that is no font, no file entry: name stays empty
    PickFontFile(project_, left, dest);
    EXPECT_EQ(left.File, dest);
    EXPECT_EQ(left.Name, "") << dest;
  }

  FontFields cancelled{"", "kept.ttf"};
  PickFontFile(project_, cancelled, "");
  EXPECT_EQ(cancelled.File, "kept.ttf");
}

TEST_F(FontEntries, NameThenFileAreMandatoryAndTheFileIsStoredAsItIs) {
  EXPECT_EQ(ApplyFontEntry(project_, EntryPlace::Add(), FontFields{"", "x.ttf"}).Focus, "LabeledEdit1");
  EXPECT_EQ(ApplyFontEntry(project_, EntryPlace::Add(), FontFields{"N", ""}).Focus, "LabeledEdit2");
  ASSERT_TRUE(ApplyFontEntry(project_, EntryPlace::Add(), FontFields{"Face", "fonts\\a?.ttf"}).Accepted);
  EXPECT_EQ(test::RowCells(project_.fonts, 0), (Cells{"Face", "fonts\\a?.ttf"}));
  FontFields shown = ShowFontEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(shown.Name, "Face");
  EXPECT_EQ(shown.File, "fonts\\a?.ttf");
}

class DeletionEntries : public test::ProjectTest {};

TEST_F(DeletionEntries, PathIsCleanedAndMadeAnInstallPath) {
  ASSERT_TRUE(ApplyDeletionEntry(project_, EntryPlace::Add(), DeletionFields{2, "logs"}).Accepted);
  ASSERT_TRUE(ApplyDeletionEntry(project_, EntryPlace::Add(), DeletionFields{0, "%AppData%\\a*.tmp"}).Accepted);
  EXPECT_EQ(test::AllCells(project_.uninstallDeletions),
            (std::vector<Cells>{{InterfaceString(kTextDeleteFolderAndFiles), "%InstallPath%\\logs"}, {InterfaceString(kTextDeleteFile), "%AppData%\\a.tmp"}}));
  DeletionFields shown = ShowDeletionEntry(project_, EntryPlace::Edit(0));
  EXPECT_EQ(shown.Kind, 2);
  EXPECT_EQ(DeletionPathLabel(shown.Kind), InterfaceString(kTextFolderPath));
  EXPECT_EQ(DeletionPathLabel(0), InterfaceString(kTextFilePath));
  EXPECT_EQ(ApplyDeletionEntry(project_, EntryPlace::Edit(0), DeletionFields{1, ""}).Focus, "LabeledEdit1");
  EXPECT_EQ(project_.uninstallDeletions[0].Caption, InterfaceString(kTextDeleteFolderAndFiles));
}

}  // namespace
}  // namespace bvq
