#include "app/web_addresses.h"

#include <QtGlobal>

namespace bvq::app {

QString HomePageAddress(const std::string& interfaceLanguage) {
  return interfaceLanguage == "Russian" ? QStringLiteral("https://www.oskavarnholt.com/ru/belvandorithquessal/")
                                        : QStringLiteral("https://www.oskavarnholt.com/belvandorithquessal/");
}

QString SupportPageAddress(const std::string& interfaceLanguage) {
  return HomePageAddress(interfaceLanguage) + "support.html";
}

QString UpdateFileAddress() {
  const QString override = qEnvironmentVariable("BVQ_UPDATE_URL");
  if (!override.isEmpty()) return override;
  return HomePageAddress("English") + "update.txt";
}

}  // namespace bvq::app
