#pragma once
// The texts of a window's controls come from its section of the interface language file
// ("AddFileForm", ...): labelled edits take the text as the caption of their label, image
// buttons as their hint, everything else as its caption.
#include <QString>
#include <string>

class QWidget;

namespace bvq {

// The interface language whose file the windows read ("English" until set). The main window
// calls this whenever it applies a language.
void SetWindowTextsLanguage(const std::string& name);
const std::string& WindowTextsLanguage();

// Applies section `section` of the current interface language file to the children of
// `window`, found by object name. A labelled edit "X" has its label named "XLabel"; a button
// with the dynamic property "imageButton" set takes the text as its tooltip; a combo box
// without a label takes its items from the text, separated by "|". Missing file,
// section or control: nothing changes.
void ApplyWindowTexts(QWidget* window, const std::string& section);

// The unescaped text of `key` in window section `section` of the current interface language
// file, for texts a window composes itself (not a component's caption); empty when absent.
QString WindowText(const std::string& section, const std::string& key);

}  // namespace bvq
