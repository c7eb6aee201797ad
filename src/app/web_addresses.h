#pragma once
// The maker's web addresses: the home page and support page (one for the Russian interface,
// one for every other) and the update file, which BVQ_UPDATE_URL replaces (tests, mirrors).
#include <QString>
#include <string>

namespace bvq::app {

QString HomePageAddress(const std::string& interfaceLanguage);
QString SupportPageAddress(const std::string& interfaceLanguage);
// The address of "update.txt": BVQ_UPDATE_URL when set, else the file on the home page.
QString UpdateFileAddress();

}  // namespace bvq::app
