#pragma once
// The widget boundary: project texts are ANSI bytes in the program's code page, widgets
// hold Unicode, and names on disk are UTF-8.
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace bvq {

// A project text (ANSI bytes) for a widget.
QString ToQ(const std::string& ansi);
// A widget's text as project text (a character the code page cannot hold becomes "?").
std::string FromQ(const QString& text);
// A name on disk (UTF-8) and back.
QString DiskToQ(const std::string& utf8);
std::string QToDisk(const QString& path);
// Picked file names as project texts, or as names on disk.
std::vector<std::string> QListToAnsi(const QStringList& paths);
std::vector<std::string> QListToDisk(const QStringList& paths);

}  // namespace bvq
