#include "editors/qt_text.h"

#include "util/code_page.h"

namespace bvq {

QString ToQ(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

std::string FromQ(const QString& text) { return Utf8ToAnsi(text.toStdString()); }

QString DiskToQ(const std::string& utf8) { return QString::fromStdString(utf8); }

std::string QToDisk(const QString& path) { return path.toStdString(); }

std::vector<std::string> QListToAnsi(const QStringList& paths) {
  std::vector<std::string> out;
  for (const QString& p : paths) out.push_back(FromQ(p));
  return out;
}

std::vector<std::string> QListToDisk(const QStringList& paths) {
  std::vector<std::string> out;
  for (const QString& p : paths) out.push_back(QToDisk(p));
  return out;
}

}  // namespace bvq
