#pragma once
// The open project: every setting under the name of the main-window control that shows it,
// the colours and fonts held beside the controls, the eleven entry lists, the install
// languages, the supported systems, the licence and information files per language, the
// preview positions, and the working state that is not saved.
//
// The project's texts are single-byte ANSI bytes (std::string). The Qt window binds its
// widgets (objectName = member name) to these members; the build reads them and changes
// nothing. Every edit ends with MarkModified(), which also tells the listeners.
//
// Slot numbers (in the comments) are the lines of the project file (project/slot_table.h).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bvq {

// ---------------------------------------------------------------------------------------
// Entry lists
// ---------------------------------------------------------------------------------------

// One row of an entry list: the caption (first column) and one sub-item per further column.
// Sub-item 0 is the second column.
struct EntryRow {
  std::string Caption;
  std::vector<std::string> SubItems;

  // Cell by column: 0 the caption, k >= 1 sub-item k - 1; "" for a missing sub-item.
  const std::string& Cell(int column) const;
  // Writable cell; sub-items are added as needed.
  std::string& CellRef(int column);

  bool operator==(const EntryRow&) const = default;
};

// A report-style list with a fixed number of columns. Rows appended through Append always
// carry exactly ColumnCount() - 1 sub-items (missing ones empty, extra ones dropped).
class EntryList {
 public:
  explicit EntryList(int columnCount) : columnCount_(columnCount) {}

  int ColumnCount() const { return columnCount_; }
  std::size_t size() const { return Rows.size(); }
  bool empty() const { return Rows.empty(); }
  void clear() { Rows.clear(); }

  // Appends a row, shaped to the column count; returns its index.
  std::size_t Append(EntryRow row);
  // Appends a row from its cells in column order (caption first).
  std::size_t AppendCells(std::vector<std::string> cells);
  // Overwrites row `index` (shaped to the column count).
  void Replace(std::size_t index, EntryRow row);

  EntryRow& operator[](std::size_t index) { return Rows[index]; }
  const EntryRow& operator[](std::size_t index) const { return Rows[index]; }

  std::vector<EntryRow> Rows;

  bool operator==(const EntryList&) const = default;

 private:
  int columnCount_;
};

// Column counts of ListView1..ListView11 (also the counts written to the project file).
inline constexpr std::array<int, 11> kEntryListColumns = {7, 7, 4, 6, 6, 6, 2, 2, 3, 5, 2};
inline constexpr int kEntryListCount = 11;

// One item of a check-box list (LanguageListView, VersionsListView).
struct CheckItem {
  std::string Caption;
  bool Checked = false;
  bool operator==(const CheckItem&) const = default;
};

// The ten supported-system captions, in list order.
inline constexpr std::array<const char*, 10> kSystemCaptions = {
    "Windows 95",   "Windows 98", "Windows ME",          "Windows NT",         "Windows 2000",
    "Windows XP",   "Windows 2003 Server", "Windows Vista", "Windows 2008 Server", "Windows 7"};

// A font kept as a setting (TitleBackFont, CompanyBackFont).
struct FontSetting {
  std::string Name;    // face name, e.g. "Tahoma"
  int Size = 0;        // points
  uint32_t Color = 0;  // 0x00BBGGRR
  int Charset = 0;     // character set 0..255
  int Style = 0;       // bit set: bold 1, italic 2, underline 4, strike-out 8
  bool operator==(const FontSetting&) const = default;
};
inline constexpr int kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8;

// Position of an item in the header or logo preview, in pixels.
struct PreviewPos {
  int Left = 0;
  int Top = 0;
  bool operator==(const PreviewPos&) const = default;
};

// What a change notification is about.
enum class ProjectChange {
  Modified,      // some setting or list was edited (MarkModified)
  Replaced,      // the whole project was replaced (new project, load)
  Saved,         // the project was written to ProjectFileName
  Languages,     // install languages checked/unchecked (licence/info lists changed too)
  WorkingState,  // busy, build state, file name
};

// Listeners of a project. Copying a project never copies its listeners, and assigning one
// project to another keeps the target's listeners: a window stays bound to the live object
// when a loaded project is moved into it.
class ProjectListeners {
 public:
  using Listener = std::function<void(ProjectChange)>;
  ProjectListeners() = default;
  ProjectListeners(const ProjectListeners&) {}
  ProjectListeners(ProjectListeners&&) noexcept {}
  ProjectListeners& operator=(const ProjectListeners&) { return *this; }
  ProjectListeners& operator=(ProjectListeners&&) noexcept { return *this; }
  bool operator==(const ProjectListeners&) const { return true; }

  int Add(Listener listener);  // returns an id for Remove
  void Remove(int id);
  void Notify(ProjectChange change) const;

 private:
  std::vector<std::pair<int, Listener>> listeners_;
  int nextId_ = 1;
};

// ---------------------------------------------------------------------------------------
// The project
// ---------------------------------------------------------------------------------------

class Project {
 public:
  // A blank project: the ten supported systems (unchecked), no install languages, one empty
  // licence and information entry, empty lists, every setting zero, false or empty. The
  // defaults of a new project come from the slot table through NewProject
  // (project/new_project.h); they are not repeated here.
  Project();

  // --- Page1: product, output, compression, volumes ---
  std::string LabeledEdit2;   // 29 product name
  std::string LabeledEdit29;  // 68 product version
  std::string LabeledEdit4;   // 28 company name
  std::string Edit8;          // 50 product web site
  std::string Edit1;          // 54 support contact ("mailto:...")
  std::string LabeledEdit5;   // 25 setup file to produce (output path)
  int ComboBox1 = 0;          // 38 compression: 0 none, 1 normal, 2 maximal
  int ComboBox4 = 0;          // 89 splitting: 0 one file, 1 diskette, 2 CD, 3 DVD, 4 size below
  int UpDown1 = 0;            // 90 volume size for ComboBox4 = 4 (0..32767, shown in Edit4)
  int ComboBox11 = 0;         // 121 unit of the volume size: 0 bytes, 1 Kb, 2 Mb, 3 Gb
  std::string LabeledEdit25;  // 86 volume file name pattern ("disk%i%.pak")

  // --- Page3: requirements ---
  bool CheckBox25 = false;    // 41 require administrator rights
  bool CheckBox38 = false;    // 49 check the .NET Framework version
  int ComboBox5 = 0;          // 112 .NET version: 0..5 "1.0".."4.0", 6..11 the same "or later"
  bool CheckBox5 = false;     // 36 open a page when the .NET Framework is missing
  std::string Edit6;          // 37 address of that page
  bool CheckBox36 = false;    // 113 installer closes a running application
  std::string LabeledEdit8;   // 114 text that identifies that application
  int ComboBox9 = 0;          // 115 found by: 0 exact title, 1 part of title, 2 file name
  // VersionsListView (slot 24): below.

  // --- Page4: wizard dialogs ---
  // General: titles, install folder, dialogs
  std::string LabeledEdit6;   // 27 installer window title
  std::string LabeledEdit16;  // 1 text at the bottom of the installer window
  std::string Edit10;         // 58 install folder name
  std::string LabeledEdit12;  // 59 install folder path
  bool CheckBox41 = false;    // 55 the user may not change the install folder
  bool CheckBox43 = false;    // 82 silent installation
  bool CheckBox44 = false;     // 83 show the welcome page
  bool CheckBox45 = false;     // 93 show the install folder page
  bool CheckBox46 = false;     // 95 show the program group page
  bool CheckBox47 = false;     // 109 show the additional shortcuts page
  bool CheckBox48 = false;     // 122 show the ready-to-install page
  bool CheckBox49 = false;     // 123 show the finish page
  // Licence / information (files per language: LicenseFileList, InfoFileList below)
  bool CheckBox4 = false;     // 108 show the licence agreement
  bool CheckBox15 = false;    // 31 show the information page
  // Password
  bool CheckBox24 = false;    // 84 ask for a password
  std::string LabeledEdit20;  // 85 the password
  bool CheckBox12 = false;     // 46 show the password while typing
  bool CheckBox16 = false;    // 92 the password is upper case
  // Finish
  bool CheckBox7 = false;     // 32 offer to run the installed application
  std::string Edit2;          // 40 application offered to run
  bool CheckBox2 = false;      // 44 ... ticked by default
  bool CheckBox8 = false;     // 45 offer to open a readme file
  std::string Edit3;          // 47 readme file offered
  bool CheckBox3 = false;      // 48 ... ticked by default
  bool CheckBox17 = false;    // 35 offer to open a web site
  std::string LabeledEdit7;   // 39 web site offered
  bool CheckBox14 = false;     // 42 ... ticked by default
  bool CheckBox9 = false;     // 52 offer to restart the computer

  // --- Page5: installer look ---
  // Background (tab 0)
  bool CheckBox1 = false;     // 2 show a background window behind the wizard
  bool RadioButton6 = false;   // 3 gradient background; otherwise picture (RadioButton8)
  bool RadioButton8() const { return !RadioButton6; }
  std::string LabeledEdit27;  // 4 background picture file
  uint32_t BackGradientColor1 = 0;  // 5 gradient start colour (0x00BBGGRR)
  uint32_t BackGradientColor2 = 0;         // 6 gradient end colour
  int ComboBox7 = 0;          // 7 gradient direction: 0 vertical, 1 horizontal
  int ComboBox8 = 0;          // 8 picture placement: 0 fill (tile), 1 stretch, 2 centre
  std::string LabeledEdit19;  // 9 and 62 title text drawn on the background
  std::string LabeledEdit28;  // 10 company text drawn on the background
  FontSetting TitleBackFont;    // 11..15 font of LabeledEdit19
  FontSetting CompanyBackFont;  // 16..20 font of LabeledEdit28
  // Header (tab 1)
  bool CheckBox26 = false;     // 51 show the header picture
  std::string LabeledEdit14;  // 74 header picture file
  bool CheckBox6 = false;      // 79 header picture has a transparent background
  bool CheckBox10 = false;     // 22 header has a gradient background
  uint32_t HeaderGradientColor1 = 0;  // 81 header gradient start colour
  uint32_t HeaderGradientColor2 = 0;  // 94 header gradient end colour
  PreviewPos Image1;     // 63, 75 header picture in the header preview
  PreviewPos Label22;   // 96, 97 header title text
  PreviewPos Label23;  // 98, 99 header description text
  // Logo (tab 2)
  bool CheckBox40 = false;     // 53 show the logo
  std::string LabeledEdit15;  // 76 logo picture file
  bool CheckBox13 = false;    // 21 logo picture has a transparent background
  PreviewPos Image2;      // 77, 78 logo picture in the logo preview
  // Languages (tab 3): LanguageListView below. Icon (tab 4):
  std::string LabeledEdit11;  // 69 installer icon file
  std::string LabeledEdit17;  // 70 uninstaller icon file

  // --- Page6: shortcuts and program group (ListView1) ---
  std::string LabeledEdit13;  // 30 program group name
  int ComboBox2 = 0;          // 43 program group place: 0 user's menu, 1 common menu
  bool CheckBox42 = false;    // 61 the user may not change the program group

  // --- Page13: uninstaller ---
  bool CheckBox11 = false;     // 57 create an uninstaller
  std::string LabeledEdit1;   // 33 uninstaller file name
  std::string LabeledEdit3;   // 34 uninstaller log file name
  std::string LabeledEdit10;  // 56 name under which the product is uninstalled
  std::string LabeledEdit22;  // 91 uninstaller window title
  bool CheckBox39 = false;    // 26 uninstaller opens an internet page
  std::string Edit9;          // 60 that internet page
  bool CheckBox37 = false;    // 118 uninstaller closes a running application
  std::string LabeledEdit9;   // 119 text that identifies that application
  int ComboBox10 = 0;         // 120 found by (as ComboBox9)

  // --- Entry lists (columns: see kEntryListColumns) ---
  EntryList ListView1{kEntryListColumns[0]};   // shortcuts: place, name, target, parameters, working folder, comment, icon
  EntryList ListView2{kEntryListColumns[1]};   // registry values: root, subkey, value name, type, data, overwrite, uninstall
  EntryList ListView3{kEntryListColumns[2]};   // files: source (or string 26), destination, if exists, uninstall
  EntryList ListView4{kEntryListColumns[3]};   // installer commands: type, command, parameters, window, when, wait
  EntryList ListView5{kEntryListColumns[4]};   // INI entries: file, section, key, value, overwrite, uninstall
  EntryList ListView6{kEntryListColumns[5]};   // uninstaller commands: as ListView4
  EntryList ListView7{kEntryListColumns[6]};   // uninstaller deletions: what, path
  EntryList ListView8{kEntryListColumns[7]};   // ActiveX files: file, unregister
  EntryList ListView9{kEntryListColumns[8]};   // uninstaller registry deletions: root, subkey, value name
  EntryList ListView10{kEntryListColumns[9]};  // variables from the registry: name, root, subkey, value name, default
  EntryList ListView11{kEntryListColumns[10]};  // fonts: font name, file

  // ListView1..ListView11 by number (1-based).
  EntryList& EntryListAt(int number);
  const EntryList& EntryListAt(int number) const;
  // Total number of rows of the eleven lists.
  std::size_t EntryCount() const;

  // --- Install languages (slot 23) ---
  // One item per install language file; caption "English" or "Name (OwnName)". A checked
  // item is an installer language. Change the check state only through SetLanguageChecked,
  // which keeps LicenseFileList and InfoFileList parallel to the checked languages.
  std::vector<CheckItem> LanguageListView;
  // Replaces the items (start-up, from the install language folder); all unchecked, the
  // licence and information lists back to one entry each.
  void SetInstallLanguages(const std::vector<std::string>& captions);
  // Checks or unchecks item `index`: inserts an empty licence/information entry at the
  // language's position among the checked languages (plus one for the shared entry 0), or
  // removes it; then both combo selections go back to item 0. No effect when unchanged.
  void SetLanguageChecked(std::size_t index, bool checked);
  // Index of the item whose language name (caption before " (") equals `name`; -1 if none.
  int FindLanguage(const std::string& name) const;
  // Captions of the checked languages, in list order.
  std::vector<std::string> CheckedLanguageCaptions() const;

  // --- Supported systems (slot 24): the ten kSystemCaptions, check state per item ---
  std::vector<CheckItem> VersionsListView;

  // --- Licence and information files (slots 66, 73) ---
  // Parallel to the items of LicenseComboBox / InfoComboBox: entry 0 is the file shared by
  // all languages (combo item 0, interface string 7), entry i the file of the i-th checked
  // install language. Always 1 + (number of checked languages) entries.
  std::vector<std::string> LicenseFileList;
  std::vector<std::string> InfoFileList;
  int LicenseComboIndex = 0;  // selected item of LicenseComboBox; Edit7 shows that entry
  int InfoComboIndex = 0;     // selected item of InfoComboBox; Edit5 shows that entry
  // Items of LicenseComboBox / InfoComboBox: interface string 7, then the checked captions.
  std::vector<std::string> LicenseComboItems() const;
  // Edit7 / Edit5: the entry of the selected combo item ("" when out of range).
  std::string Edit7() const;
  std::string Edit5() const;
  void SetEdit7(const std::string& path);  // stores into the selected entry
  void SetEdit5(const std::string& path);

  // --- Working state (not saved) ---
  std::string ProjectFileName;    // full path of the project file; "" when never saved
  bool ProjectModified = false;   // set by every edit; cleared by new, load, save
  bool ProjectBusy = false;       // a load or save runs: project actions do nothing
  bool BuildCurrent = false;      // set by a successful build; cleared by every edit
  // Interface language the localised cells are written in: the language of the file header
  // after a load, the current language once the cells have been re-translated.
  std::string ProjectLanguage;
  std::string LastSetupSizeText;  // setup size text of the last build in this run
  int LastVolumeIndex = 0;        // last volume index of the last build in this run
  std::string PasswordMixedCase;  // the password as typed before CheckBox16 was set

  // Sets ProjectModified, clears BuildCurrent and tells the listeners.
  void MarkModified();
  // Tells the listeners without changing anything.
  void Notify(ProjectChange change) const { Listeners.Notify(change); }

  ProjectListeners Listeners;

  // Equal settings, lists and working state (listeners are not compared).
  bool operator==(const Project&) const = default;
};

// Language name of a LanguageListView caption: the caption before the first " (".
std::string LanguageNameOfCaption(const std::string& caption);

}  // namespace bvq
