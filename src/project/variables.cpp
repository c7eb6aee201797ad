#include "project/variables.h"

#include <algorithm>
#include <cstdio>

#include "util/strings.h"

namespace bvq {

const std::array<std::string, 81>& ReservedVariables() {
  static const std::array<std::string, 81> table = [] {
    std::array<std::string, 81> t;
    const char* names[37] = {"",
        "%PROGRAMFILES%", "%WINDOWSDIR%", "%SYSTEMDIR%", "%INSTALLPATH%", "%TEMPDIR%", "%DESKTOP%",
        "%QUICKLAUNCH%", "%PROGRAMSDIR%", "%STARTMENU%", "%MYDOCUMENTS%", "%FAVORITES%", "%SENDTO%",
        "%USERPROFILE%", "%STARTUP%", "%FONTDIR%", "%COMMONFILES%", "%SYSTEMDRIVE%", "%CURRENTDIR%",
        "%I%", "%USERNAME%", "%LANGUAGE%", "%COMPUTERNAME%", "%PRODUCTNAME%", "%PRODUCTVERSION%",
        "%COMPANYNAME%", "%APPDATA%", "%COMMONAPPDATA%", "%COMMONDESKTOP%", "%COMMONDOCUMENTS%",
        "%COMMONFAVORITES%", "%COMMONPROGRAMSDIR%", "%COMMONSTARTMENU%", "%COMMONSTARTUP%",
        "%TEMPLATES%", "%COMMONTEMPLATES%", "%PROGRAMFILES64%"};
    for (int n = 1; n <= 36; ++n) t[n] = names[n];
    // 40 + n: the short-path form of variable n, for n = 1..18 and 26..36.
    for (int n = 1; n <= 36; ++n) {
      if ((n >= 1 && n <= 18) || (n >= 26 && n <= 36)) t[40 + n] = "%SHORT" + t[n].substr(1);
    }
    return t;
  }();
  return table;
}

std::string VariableCode(int number) {
  char code[16];
  std::snprintf(code, sizeof code, "@$&%%%02d", number);
  return code;
}

bool IsReservedVariableName(std::string_view name) {
  if (name.empty()) return false;
  const std::string upper = ToUpperAscii(name);
  for (const std::string& slot : ReservedVariables())
    if (!slot.empty() && slot == upper) return true;
  return false;
}

std::string SubstituteVariables(const Project& project, std::string_view text) {
  std::string result(text);
  std::string search = ToUpperAscii(text);
  const auto& reserved = ReservedVariables();
  const int last = std::min<int>(kLastVariableNumber, 80 + static_cast<int>(project.registryVariables.size()));
  std::string userPattern;
  for (int k = 1; k <= last; ++k) {
    if (k > 80) userPattern = ToUpperAscii(project.registryVariables[static_cast<size_t>(k - kFirstUserVariable)].Caption);
    const std::string& pattern = k <= 80 ? reserved[k] : userPattern;
    if (pattern.empty()) continue;
    size_t at = search.find(pattern);
    if (at == std::string::npos) continue;  // the common case: a path names one variable or none
    std::string replacement;
    switch (k) {
      case kVariableProductName: replacement = project.productName; break;
      case kVariableProductVersion: replacement = project.productVersion; break;
      case kVariableCompanyName: replacement = project.companyName; break;
      default: replacement = VariableCode(k); break;
    }
    for (size_t from = 0; (at = search.find(pattern, from)) != std::string::npos;) {
      result.replace(at, pattern.size(), replacement);
      search.replace(at, pattern.size(), replacement);
      from = at + replacement.size();
    }
  }
  return result;
}

}  // namespace bvq
