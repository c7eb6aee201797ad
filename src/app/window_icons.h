#pragma once
// The icons of the program's windows and of the side menu's page entries, all from one
// place: the desktop style's standard pictures, and the installer icon of the program folder
// for the program itself.
#include <QIcon>

namespace bvq::app {

enum class WindowIconKind { Program, Build, About, Information, Options, Update };

QIcon WindowIcon(WindowIconKind kind);
// The icon beside side-menu entry n (1..16).
QIcon PageIcon(int page);

}  // namespace bvq::app
