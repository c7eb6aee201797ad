#pragma once
// The names the main window proposes and shows for project files.
#include <string>

namespace bvq::app {

// Folder + name + ".bvq" for a project never saved: the product name without double quotes,
// asterisks and question marks ("NewProduct" when nothing is left), with "1", "2", ...
// appended until no file of that name exists in `folder` (which ends with "/").
std::string ProposeProjectFile(const std::string& productName, const std::string& folder);

// A chosen file name keeps a three-letter extension of its own; otherwise ".bvq" is added.
std::string WithProjectExtension(const std::string& path);

// Window title: "<file name without .bvq> - " when a file is open, then the program name and
// version.
std::string WindowTitle(const std::string& projectFileName);

}  // namespace bvq::app
