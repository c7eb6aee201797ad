#pragma once
// The settings pages of the main window (Page1, Page3, Page4, Page5, Page13 and the program
// group settings above the shortcut list of Page6), built from bound widgets.
class QWidget;

namespace bvq::app {

class SettingsBinder;

QWidget* BuildProductPage(SettingsBinder& b);        // Page1
QWidget* BuildRequirementsPage(SettingsBinder& b);   // Page3
QWidget* BuildWizardPage(SettingsBinder& b);         // Page4 (PageControl5)
QWidget* BuildLookPage(SettingsBinder& b);           // Page5 (PageControl1)
QWidget* BuildProgramGroupSettings(SettingsBinder& b);  // upper part of Page6
QWidget* BuildUninstallerPage(SettingsBinder& b);    // Page13

}  // namespace bvq::app
