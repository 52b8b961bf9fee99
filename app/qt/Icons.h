#pragma once
// The icons of the toolbar and the find bar: the desktop's icon theme where
// it has one by the freedesktop name, else the program's own.

#include <QIcon>
#include <QString>

namespace ostrel {

QIcon ThemeIcon(const QString& name);
// The program's own icon.
QIcon ProgramIcon();

}  // namespace ostrel
