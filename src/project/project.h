#pragma once
// The open project: every setting, grouped by the settings page that shows it, with the
// colours and fonts, the eleven entry lists, the install languages, the supported systems,
// the licence and information files per language and the preview positions. The working
// state of an open project (unsaved edits, a running load or save, the last build) is a
// ProjectSession beside it (project/project_session.h).
//
// The project's texts are single-byte ANSI bytes (std::string). The Qt window binds its
// widgets to these members (app/settings_binder.h; each widget's objectName is the control
// name the slot table records); the build reads them and changes nothing. Every edit ends
// with MarkModified(), which also tells the listeners.
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

// Column counts of the eleven entry lists, in list order (also the counts written to the
// project file).
inline constexpr std::array<int, 11> kEntryListColumns = {7, 7, 4, 6, 6, 6, 2, 2, 3, 5, 2};
inline constexpr int kEntryListCount = 11;

// One item of a check-box list (installLanguages, supportedSystems).
struct CheckItem {
  std::string Caption;
  bool Checked = false;
  bool operator==(const CheckItem&) const = default;
};

// The ten supported-system captions, in list order.
inline constexpr std::array<const char*, 10> kSystemCaptions = {
    "Windows 95",   "Windows 98", "Windows ME",          "Windows NT",         "Windows 2000",
    "Windows XP",   "Windows 2003 Server", "Windows Vista", "Windows 2008 Server", "Windows 7"};

// A font kept as a setting (backgroundTitleFont, backgroundCompanyFont).
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
  Saved,         // the project was written to filePath
  Languages,     // install languages checked/unchecked (licence/info lists changed too)
  WorkingState,  // a load or save starts, or fails (the session's busy flag)
  Rewritten,     // the program rewrote settings in place: validation normalised them, or a
                 // switch of the interface language re-translated them
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

  // --- Product page: product, output, compression, volumes ---
  std::string productName;     // 29
  std::string productVersion;  // 68
  std::string companyName;     // 28
  std::string productWebSite;  // 50
  std::string supportContact;  // 54 e.g. "mailto:support@example.com"
  std::string setupFile;       // 25 the setup program to write (output path)
  int compression = 0;         // 38 0 none, 1 normal, 2 maximal
  int splitting = 0;           // 89 0 one file, 1 diskette, 2 CD, 3 DVD, 4 volumeSize
  int volumeSize = 0;          // 90 volume size when splitting is 4 (0..32767)
  int volumeSizeUnit = 0;      // 121 0 bytes, 1 Kb, 2 Mb, 3 Gb
  std::string volumeFileName;  // 86 name pattern of the volume files ("disk%i%.pak")

  // --- Requirements page (supportedSystems, slot 24, below) ---
  bool requireAdmin = false;           // 41 administrator rights required
  bool requireDotNet = false;          // 49 the .NET Framework version is checked
  int dotNetVersion = 0;               // 112 0..5 "1.0".."4.0", 6..11 the same "or later"
  bool openDotNetPage = false;         // 36 open a web page when the .NET Framework is missing
  std::string dotNetPageAddress;       // 37 that web page
  bool installerClosesApp = false;     // 113 the installer closes a running application
  std::string installerCloseAppText;   // 114 what identifies that application
  int installerCloseAppMatch = 0;      // 115 found by: 0 exact title, 1 part of title, 2 file name

  // --- Wizard page ---
  // General: titles, install folder, pages shown
  std::string installerTitle;          // 27 installer window title
  std::string installerBottomText;     // 1 text at the bottom of the installer window
  std::string installFolderName;       // 58
  std::string installFolderPath;       // 59
  bool lockInstallFolder = false;      // 55 the user may not change the install folder
  bool silentInstall = false;          // 82 no wizard at all
  bool showWelcomePage = false;        // 83
  bool showInstallFolderPage = false;  // 93
  bool showProgramGroupPage = false;   // 95
  bool showShortcutsPage = false;      // 109 the additional shortcuts page
  bool showReadyPage = false;          // 122 the ready-to-install page
  bool showFinishPage = false;         // 123
  // Licence and information (the files per language: licenseFiles, infoFiles below)
  bool showLicense = false;            // 108 show the licence agreement
  bool showInformation = false;        // 31 show the information page
  // Password
  bool askPassword = false;            // 84
  std::string password;                // 85
  bool showPasswordTyped = false;      // 46 the password field shows what is typed
  bool passwordUpperCase = false;      // 92 the password is upper case
  // Finish page
  bool offerRunApp = false;            // 32 offer to run the installed application
  std::string runAppFile;              // 40 the application offered
  bool runAppTicked = false;           // 44 ... ticked by default
  bool offerReadme = false;            // 45 offer to open a readme file
  std::string readmeFile;              // 47 the readme file offered
  bool readmeTicked = false;           // 48 ... ticked by default
  bool offerWebSite = false;           // 35 offer to open a web site
  std::string finishWebSite;           // 39 the web site offered
  bool webSiteTicked = false;          // 42 ... ticked by default
  bool offerRestart = false;           // 52 offer to restart the computer

  // --- Look page ---
  // Background (tab 0)
  bool showBackground = false;          // 2 a background window behind the wizard
  bool backgroundIsGradient = false;    // 3 gradient background; otherwise a picture
  bool BackgroundIsPicture() const { return !backgroundIsGradient; }
  std::string backgroundPicture;        // 4 background picture file
  uint32_t backgroundGradientStart = 0; // 5 gradient start colour (0x00BBGGRR)
  uint32_t backgroundGradientEnd = 0;   // 6 gradient end colour
  int backgroundGradientDirection = 0;  // 7 0 vertical, 1 horizontal
  int backgroundPicturePlacement = 0;   // 8 0 fill (tile), 1 stretch, 2 centre
  std::string backgroundTitle;          // 9 and 62 title drawn on the background
  std::string backgroundCompany;        // 10 company line drawn on the background
  FontSetting backgroundTitleFont;      // 11..15
  FontSetting backgroundCompanyFont;    // 16..20
  // Header (tab 1)
  bool showHeaderPicture = false;          // 51
  std::string headerPicture;               // 74 header picture file
  bool headerPictureTransparent = false;   // 79 the picture has a transparent background
  bool headerGradient = false;             // 22 the header has a gradient background
  uint32_t headerGradientStart = 0;        // 81
  uint32_t headerGradientEnd = 0;          // 94
  PreviewPos headerPicturePosition;        // 63, 75 in the header preview
  PreviewPos headerTitlePosition;          // 96, 97
  PreviewPos headerDescriptionPosition;    // 98, 99
  // Logo (tab 2)
  bool showLogo = false;                   // 53
  std::string logoPicture;                 // 76 logo picture file
  bool logoPictureTransparent = false;     // 21 the picture has a transparent background
  PreviewPos logoPicturePosition;          // 77, 78 in the logo preview
  // Languages (tab 3): installLanguages below. Icons (tab 4):
  std::string installerIcon;               // 69 icon file of the installer
  std::string uninstallerIcon;             // 70 icon file of the uninstaller

  // --- Shortcuts page (the list: shortcuts, below) ---
  std::string programGroup;         // 30 program group name
  int programGroupPlace = 0;        // 43 0 the user's menu, 1 the common menu
  bool lockProgramGroup = false;    // 61 the user may not change the program group

  // --- Uninstaller page ---
  bool makeUninstaller = false;           // 57
  std::string uninstallerFile;            // 33 file name of the uninstaller
  std::string uninstallLogFile;           // 34 file name of the uninstall log
  std::string uninstallName;              // 56 name under which the product is uninstalled
  std::string uninstallerTitle;           // 91 uninstaller window title
  bool uninstallerOpensPage = false;      // 26 the uninstaller opens a web page
  std::string uninstallerPageAddress;     // 60 that web page
  bool uninstallerClosesApp = false;      // 118 the uninstaller closes a running application
  std::string uninstallerCloseAppText;    // 119 what identifies that application
  int uninstallerCloseAppMatch = 0;       // 120 found by (as installerCloseAppMatch)

  // --- Entry lists 1..11 (columns: see kEntryListColumns) ---
  EntryList shortcuts{kEntryListColumns[0]};        // place, name, target, parameters, working folder, comment, icon
  EntryList registryValues{kEntryListColumns[1]};   // root, subkey, value name, type, data, overwrite, uninstall
  EntryList files{kEntryListColumns[2]};            // source (or string 26), destination, if exists, uninstall
  EntryList installCommands{kEntryListColumns[3]};  // type, command, parameters, window, when, wait
  EntryList iniEntries{kEntryListColumns[4]};       // file, section, key, value, overwrite, uninstall
  EntryList uninstallCommands{kEntryListColumns[5]};           // as installCommands
  EntryList uninstallDeletions{kEntryListColumns[6]};          // what, path
  EntryList activeXFiles{kEntryListColumns[7]};                // file, unregister
  EntryList uninstallRegistryDeletions{kEntryListColumns[8]};  // root, subkey, value name
  EntryList registryVariables{kEntryListColumns[9]};           // name, root, subkey, value name, default
  EntryList fonts{kEntryListColumns[10]};                      // font name, file

  // The entry lists by number (1-based, in the order above; the project file's order).
  EntryList& EntryListAt(int number);
  const EntryList& EntryListAt(int number) const;
  // Total number of rows of the eleven lists.
  std::size_t EntryCount() const;

  // --- Install languages (slot 23) ---
  // One item per install language file; caption "English" or "Name (OwnName)". A checked
  // item is an installer language. Change the check state only through SetLanguageChecked,
  // which keeps licenseFiles and infoFiles parallel to the checked languages.
  std::vector<CheckItem> installLanguages;
  // Replaces the items (start-up, from the install language folder); all unchecked, the
  // licence and information lists back to one entry each.
  void SetInstallLanguages(const std::vector<std::string>& captions);
  // Checks or unchecks item `index`: inserts an empty licence/information entry at the
  // language's position among the checked languages (plus one for the shared entry 0), or
  // removes it; then both selected entries go back to entry 0. No effect when unchanged.
  void SetLanguageChecked(std::size_t index, bool checked);
  // Index of the item whose language name (caption before " (") equals `name`; -1 if none.
  int FindLanguage(const std::string& name) const;
  // Captions of the checked languages, in list order.
  std::vector<std::string> CheckedLanguageCaptions() const;

  // --- Supported systems (slot 24): the ten kSystemCaptions, check state per item ---
  std::vector<CheckItem> supportedSystems;

  // --- Licence and information files (slots 66, 73) ---
  // Entry 0 is the file shared by all languages (shown as interface string 7), entry i the
  // file of the i-th checked install language. At least 1 + (number of checked languages)
  // entries; a loaded project may carry more (languages checked on a machine that has more
  // install languages), which are kept and saved again. The window shows the first ones in a
  // combo box beside one file field.
  std::vector<std::string> licenseFiles;
  std::vector<std::string> infoFiles;
  int licenseFileIndex = 0;  // the entry the window shows and edits
  int infoFileIndex = 0;
  // The captions of the entries: interface string 7, then the checked languages.
  std::vector<std::string> LanguageFileCaptions() const;
  // The entry at licenseFileIndex / infoFileIndex ("" when out of range).
  std::string SelectedLicenseFile() const;
  std::string SelectedInfoFile() const;
  void SetSelectedLicenseFile(const std::string& path);  // stores into that entry
  void SetSelectedInfoFile(const std::string& path);

  // --- Where the project is and what its cells are written in (not saved as slots) ---
  std::string filePath;  // full path of the project file; "" when never saved. Relative
                         // paths in the settings and lists resolve against its folder.
  // Interface language the localised cells are written in: the language of the file header
  // after a load, the current language once the cells have been re-translated.
  std::string cellLanguage;

  // Tells the listeners that a setting or list was edited (a ProjectSession beside the
  // project marks itself modified).
  void MarkModified();
  // Tells the listeners without changing anything.
  void Notify(ProjectChange change) const { Listeners.Notify(change); }

  ProjectListeners Listeners;

  // Equal settings, lists, file path and cell language (listeners are not compared).
  bool operator==(const Project&) const = default;
};

// Language name of an installLanguages caption: the caption before the first " (".
std::string LanguageNameOfCaption(const std::string& caption);

}  // namespace bvq
