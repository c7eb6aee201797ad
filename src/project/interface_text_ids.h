#pragma once
// Names of the interface strings the code uses (project/interface_strings.h): entry N of the
// "Strings" section of the interface language file. The words and sentences themselves are
// data in the language files; a string the code picks only through a table (list headings
// and the like) has a name here only when a test checks it.

namespace bvq {

// --- Windows, captions and buttons ---
inline constexpr int kTextSelectProjectFile = 5;      // caption of the project file picker
inline constexpr int kTextAllLanguages = 7;           // first licence/information entry
inline constexpr int kTextDestinationFolder = 8;      // destination label for several files
inline constexpr int kTextDestination = 12;           // heading of the project file picker
inline constexpr int kTextRemoveEntry = 14;           // hints of the entry list buttons
inline constexpr int kTextCopyEntry = 15;
inline constexpr int kTextNoIconsFound = 16;          // "... in the file" + path
inline constexpr int kTextChooseAnotherFile = 17;
inline constexpr int kTextMoveEntryUp = 20;
inline constexpr int kTextMoveEntryDown = 21;
inline constexpr int kTextUninstallShortcutName = 22;  // "Uninstall %ProductName%"
inline constexpr int kTextFileAssociation = 23;
inline constexpr int kTextAddFolder = 25;
inline constexpr int kTextEditEntry = 27;
inline constexpr int kTextAddEntry = 30;
inline constexpr int kTextAbout = 44;                 // "About #progname#"
inline constexpr int kTextLogMessage = 57;            // build window log headings
inline constexpr int kTextLogTime = 58;
inline constexpr int kTextBuildCaption = 59;          // "Build - " + project file name
inline constexpr int kTextClose = 74;
inline constexpr int kTextAdd = 82;                   // entry dialog caption, add mode
inline constexpr int kTextEdit = 85;                  // entry dialog caption, edit mode
inline constexpr int kTextDestinationPath = 91;       // destination label for one file
inline constexpr int kTextSaveChangesTo = 95;         // + project name + "?"
inline constexpr int kTextSaveProjectAs = 99;
inline constexpr int kTextCancel = 100;
inline constexpr int kTextFilePath = 104;             // deletion dialog path labels
inline constexpr int kTextFolderPath = 105;
inline constexpr int kTextSaveProject = 106;
inline constexpr int kTextProjectInformation = 114;   // "Project information - " + name
inline constexpr int kTextUpdateCancel = 125;         // update window button while it checks
inline constexpr int kTextUpdateClose = 126;          // update window button once it is done
inline constexpr int kTextSelectWorkFolder = 131;
inline constexpr int kTextOptions = 132;
inline constexpr int kTextCheckForUpdates = 169;      // caption of the update window
inline constexpr int kTextSelectFolderToAdd = 141;
inline constexpr int kTextTextEditor = 159;          // editor caption (+ " - " + file name)
inline constexpr int kTextSaveTextChangesTo = 164;    // + file name + "?"
inline constexpr int kTextAddFilesFromFolder = 178;
inline constexpr int kTextEditorFileMenu = 182;       // the editor's menus 182..184
inline constexpr int kTextEditorEditMenu = 183;
inline constexpr int kTextEditorFormatMenu = 184;
inline constexpr int kTextImportDestination = 186;    // heading of the folder import list
inline constexpr int kTextProjectCheck = 222;         // caption of the check messages
inline constexpr int kTextSourceHeading = 40;         // file list column headings 40..43
inline constexpr int kTextCompressionNormal = 196;    // compression choices 195..197
inline constexpr int kTextPageProduct = 199;          // side-menu page labels 199..214

// --- Words stored in list cells and defaults of new projects ---
inline constexpr int kTextEmptyFolder = 26;           // source cell of an empty-folder entry
inline constexpr int kTextApplication = 47;           // command types
inline constexpr int kTextShellExecute = 48;
inline constexpr int kTextPlaceDesktop = 52;          // shortcut places 52..56
inline constexpr int kTextPlaceProgramGroup = 53;
inline constexpr int kTextPlaceStartMenu = 54;
inline constexpr int kTextPlaceQuickLaunch = 55;
inline constexpr int kTextPlaceOtherPath = 56;
inline constexpr int kTextYes = 62;
inline constexpr int kTextNo = 63;
inline constexpr int kTextBeforeUnpacking = 93;       // when installer commands run
inline constexpr int kTextAfterUnpacking = 94;
inline constexpr int kTextBeforeUninstalling = 109;   // when uninstaller commands run
inline constexpr int kTextAfterUninstalling = 110;
inline constexpr int kTextDefaultInstallerTitle = 130;
inline constexpr int kTextDeleteFile = 143;           // uninstall deletion kinds 143..145
inline constexpr int kTextDeleteFolder = 144;
inline constexpr int kTextDeleteFolderAndFiles = 145;
inline constexpr int kTextDefaultUninstallerTitle = 162;
inline constexpr int kTextDefaultBackgroundTitle = 163;
inline constexpr int kTextIfExistsAsk = 234;          // if-exists choices 234..238
inline constexpr int kTextIfExistsAskIfNewer = 235;
inline constexpr int kTextIfExistsReplace = 236;
inline constexpr int kTextIfExistsReplaceIfNewer = 237;
inline constexpr int kTextIfExistsSkip = 238;

// --- Messages and build log lines ---
inline constexpr int kTextVariableNameTaken = 6;
inline constexpr int kTextBuildFailed = 60;
inline constexpr int kTextBuildSucceeded = 61;
inline constexpr int kTextInstallerIconMissing = 66;
inline constexpr int kTextUninstallerIconMissing = 68;
inline constexpr int kTextHeaderPictureMissing = 71;
inline constexpr int kTextLogoPictureMissing = 72;
inline constexpr int kTextBackgroundPictureMissing = 73;
inline constexpr int kTextBuildCancelled = 75;
inline constexpr int kTextCheckingProject = 76;
inline constexpr int kTextProjectChecked = 77;
inline constexpr int kTextUninstallerReady = 80;
inline constexpr int kTextPackingFiles = 81;
inline constexpr int kTextWritingScript = 84;
inline constexpr int kTextCreating = 86;              // + file name + "..."
inline constexpr int kTextScriptReady = 88;
inline constexpr int kTextDataBlockWritten = 90;
inline constexpr int kTextVolumeNameNeedsNumber = 92;
inline constexpr int kTextNotAProjectFile = 97;
inline constexpr int kTextRemovingWorkFiles = 98;
inline constexpr int kTextPacking = 101;              // + file name
inline constexpr int kTextSetupNotStarted = 103;      // + setup path
inline constexpr int kTextSourceFileMissing = 112;    // + path
inline constexpr int kTextContinueQuestion = 113;
inline constexpr int kTextUpdateConnecting = 118;     // update window steps 118..120
inline constexpr int kTextUpdateDownloaded = 119;
inline constexpr int kTextUpdateChecking = 120;
inline constexpr int kTextUpdateUnreadable = 121;     // no update file could be read
inline constexpr int kTextUpdateFailed = 122;
inline constexpr int kTextLatestVersion = 127;
inline constexpr int kTextNewerVersionQuestion = 129; // offers the download page
inline constexpr int kTextUpdateComplete = 168;
inline constexpr int kTextSetupPrepared = 173;
inline constexpr int kTextAllFilesPacked = 179;
inline constexpr int kTextFieldEmpty = 223;           // project check messages 223..227
inline constexpr int kTextTextTooLong = 224;
inline constexpr int kTextNameCharacters = 225;
inline constexpr int kTextPathCharacters = 226;
inline constexpr int kTextNoFilesToInstall = 227;

}  // namespace bvq
