/* The install texts: keys "1".."99" of section "Strings" of an install language file, carried
 * by the script per language (section O). Their roles are fixed here; the English texts
 * below are also used when a language leaves a text empty. The build has already replaced
 * #appname#, #setupsize#, #netversion#, #32, #10 and #13; the installer itself replaces
 * #file# and #disk# in the texts that name them. */
#ifndef BVQ_STUB_INSTALL_TEXTS_H
#define BVQ_STUB_INSTALL_TEXTS_H

#define INSTALL_TEXT_COUNT 99

#define INSTALL_TEXTS(X) \
    X(1, TXT_SETUP, "Setup") \
    X(2, TXT_WELCOME_TITLE, "Welcome to the #appname# Setup Wizard") \
    X(3, TXT_WELCOME, "This will install #appname# on your computer. It is recommended that you close all other applications before continuing.") \
    X(4, TXT_LICENCE_TITLE, "License Agreement") \
    X(5, TXT_LICENCE, "Please read the following license agreement carefully.") \
    X(6, TXT_LICENCE_ACCEPT, "I accept the agreement") \
    X(7, TXT_LICENCE_DECLINE, "I do not accept the agreement") \
    X(8, TXT_INFO_TITLE, "Information") \
    X(9, TXT_INFO, "Please read the following important information before continuing.") \
    X(10, TXT_FOLDER_TITLE, "Select Destination Location") \
    X(11, TXT_FOLDER_QUESTION, "Where should #appname# be installed?") \
    X(12, TXT_FOLDER, "Setup will install #appname# into the following folder.") \
    X(13, TXT_BROWSE, "Browse...") \
    X(14, TXT_SPACE_NEEDED, "At least #setupsize# of free disk space is required.") \
    X(15, TXT_GROUP_TITLE, "Select Program Group") \
    X(16, TXT_GROUP_QUESTION, "Where should Setup place the program's shortcuts?") \
    X(17, TXT_GROUP, "Setup will create the program's shortcuts in the following program group.") \
    X(18, TXT_SHORTCUTS_TITLE, "Additional Shortcuts") \
    X(19, TXT_SHORTCUTS_QUESTION, "Which additional shortcuts should Setup create?") \
    X(20, TXT_SHORTCUT_DESKTOP, "Create a desktop shortcut") \
    X(21, TXT_SHORTCUT_QUICK_LAUNCH, "Create a Quick Launch shortcut") \
    X(22, TXT_READY_TITLE, "Ready to Install") \
    X(23, TXT_READY, "Setup is now ready to begin installing #appname# on your computer.") \
    X(24, TXT_INSTALLING_TITLE, "Installing") \
    X(25, TXT_INSTALLING, "Please wait while Setup installs #appname# on your computer.") \
    X(26, TXT_FINISH_TITLE, "Completing the #appname# Setup Wizard") \
    X(27, TXT_FINISH, "Setup has finished installing #appname# on your computer.") \
    X(28, TXT_FINISH_RUN, "Run #appname#") \
    X(29, TXT_FINISH_README, "View the readme file") \
    X(30, TXT_FINISH_WEB, "Visit the web site") \
    X(31, TXT_FINISH_RESTART, "Restart the computer now") \
    X(32, TXT_BACK, "< Back") \
    X(33, TXT_NEXT, "Next >") \
    X(34, TXT_CANCEL, "Cancel") \
    X(35, TXT_INSTALL, "Install") \
    X(36, TXT_FINISH_BUTTON, "Finish") \
    X(37, TXT_OK, "OK") \
    X(38, TXT_YES, "Yes") \
    X(39, TXT_NO, "No") \
    X(40, TXT_PASSWORD_TITLE, "Password") \
    X(41, TXT_PASSWORD_PROTECTED, "This installation is protected by a password.") \
    X(42, TXT_PASSWORD_ENTER, "Please enter the password, then click Next to continue.") \
    X(43, TXT_PASSWORD_WRONG, "The password you entered is not correct. Please try again.") \
    X(44, TXT_CANCEL_QUESTION, "Are you sure you want to cancel Setup?") \
    X(45, TXT_NET_MISSING, "This program requires the .NET Framework #netversion#. Please install it and run Setup again.") \
    X(46, TXT_SYSTEM_REFUSED, "This program cannot be installed on this version of Windows. It requires:") \
    X(47, TXT_ADMIN_REQUIRED, "You must be logged in as an administrator to install this program.") \
    X(48, TXT_APP_RUNNING, "#appname# is running. Please close it, then click OK to continue.") \
    X(49, TXT_FILE_EXISTS, "The file already exists:") \
    X(50, TXT_REPLACE_QUESTION, "Do you want to replace it?") \
    X(51, TXT_REPLACE_NEWER_QUESTION, "Setup is installing a newer version of this file. Do you want to replace the existing file?") \
    X(52, TXT_INSERT_DISK, "Please insert disk #disk# (#file#) and click Retry.") \
    X(53, TXT_COPYING, "Copying file:") \
    X(54, TXT_CREATING_SHORTCUTS, "Creating shortcuts...") \
    X(55, TXT_WRITING_REGISTRY, "Writing registry values...") \
    X(56, TXT_WRITING_INI, "Writing INI entries...") \
    X(57, TXT_REGISTERING_FONTS, "Registering fonts...") \
    X(58, TXT_REGISTERING_COMPONENTS, "Registering components...") \
    X(59, TXT_RUNNING_COMMANDS, "Running commands...") \
    X(60, TXT_CREATING_UNINSTALLER, "Creating the uninstaller...") \
    X(61, TXT_WRITE_FAILED, "Setup could not write the file #file#.") \
    X(62, TXT_ROLLED_BACK, "Setup was not completed. The changes made so far have been undone.") \
    X(63, TXT_DAMAGED, "The installation is damaged. Please obtain a new copy of Setup.") \
    X(64, TXT_DISK_FULL, "There is not enough free disk space. Setup needs #setupsize#.") \
    X(65, TXT_CREATE_FOLDER_QUESTION, "The folder does not exist. Do you want to create it?") \
    X(66, TXT_LANGUAGE_QUESTION, "Select the language to use during the installation:") \
    X(67, TXT_LANGUAGE_TITLE, "Select Setup Language") \
    X(68, TXT_INSTALLED, "#appname# has been installed.") \
    X(69, TXT_RESTART_NOTICE, "The computer must be restarted to complete the installation. Restart now?") \
    X(70, TXT_UNPACKING, "Unpacking files...") \
    X(71, TXT_UNINSTALL, "Uninstall") \
    X(72, TXT_UNINSTALL_QUESTION, "Are you sure you want to completely remove #appname# and all of its components?") \
    X(73, TXT_UNINSTALLING, "Removing #appname#...") \
    X(74, TXT_UNINSTALLED, "#appname# was successfully removed from your computer.") \
    X(75, TXT_UNINSTALL_LEFTOVERS, "Some elements could not be removed. You can remove them manually.") \
    X(76, TXT_UNINSTALL_NO_LOG, "The uninstall log was not found. #appname# cannot be removed.") \
    X(77, TXT_UNINSTALL_APP_RUNNING, "#appname# is running. Please close it, then click OK to continue.") \
    X(78, TXT_CLOSE, "Close") \
    X(79, TXT_SUPPORT, "Support:") \
    X(80, TXT_SPACE_REQUIRED, "Space required:") \
    X(81, TXT_SPACE_AVAILABLE, "Space available:") \
    X(82, TXT_FOLDER_LABEL, "Folder:") \
    X(83, TXT_GROUP_LABEL, "Program group:") \
    X(84, TXT_INSTALL_FOLDER, "Installation folder") \
    X(85, TXT_ALL_USERS, "Create shortcuts for all users") \
    X(86, TXT_PREPARING, "Setup is preparing the installation...") \
    X(87, TXT_CHECKING, "Checking requirements...") \
    X(88, TXT_REMOVING_SHORTCUTS, "Removing shortcuts...") \
    X(89, TXT_REMOVING_FILES, "Removing files...") \
    X(90, TXT_REMOVING_REGISTRY, "Removing registry values...") \
    X(91, TXT_RUNNING_UNINSTALL_COMMANDS, "Running uninstall commands...") \
    X(92, TXT_READING_SETUP, "Reading the setup file...") \
    X(93, TXT_ERROR, "An error occurred:") \
    X(94, TXT_IGNORE, "Ignore") \
    X(95, TXT_RETRY, "Retry") \
    X(96, TXT_ABORT, "Abort") \
    X(97, TXT_CANNOT_CONTINUE, "Setup cannot continue.") \
    X(98, TXT_APP_NOT_CLOSED, "The program could not be closed automatically. Please close it and try again.") \
    X(99, TXT_COMPLETED_WITH_ERRORS, "Setup completed with errors. See the log file for details.")

#define INSTALL_TEXT_ENUM(n, name, text) name = n,
enum InstallText { INSTALL_TEXTS(INSTALL_TEXT_ENUM) };
#undef INSTALL_TEXT_ENUM

#include "setup_format.h"

/* English text of index n (1..99) */
const wchar_t *install_text_default(int n);

/* The code page of a language group's texts and caption: the ANSI code page of its language
 * identifier, so that its texts read right whatever the system's own code page is. */
unsigned install_language_code_page(const Script *s, size_t language);
/* The caption of a language group (section N), as the language choice lists it. */
wchar_t *install_language_caption(const Script *s, size_t language);

/* Text n of the language group in use (section O), read in its code page; the English text, with the product
 * name for #appname#, when the language leaves it empty. */
wchar_t *install_text(const Script *s, size_t language, int n);
/* The English text n with the product name for #appname#. */
wchar_t *install_text_named(int n, const wchar_t *product);
/* The same with #file# and #disk# replaced. */
wchar_t *install_text_with(const Script *s, size_t language, int n, const wchar_t *file, int disk);

/* The language group (sections N and O) to use: the one whose identifier is `wanted` (/L=)
 * when given; otherwise the one of the user's interface language (a language identifier),
 * else the first with the same primary language; the first when none fits. */
size_t install_language_choose(const Script *s, const wchar_t *wanted, unsigned user_language);

#endif
