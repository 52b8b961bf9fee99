#pragma once
// The pictures the engine asks a canvas to draw by image-list name and index:
// the built-in bookmark pictures and the wrap glyph, drawn here at the sizes
// the engine lays them out with, and image lists the program registers.

#include <QPixmap>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// Picture `index` of the list; a null pixmap when there is none.
QPixmap PictureOf(std::string_view list, int index);

// Makes an image list known under a name (replacing one of that name).
void RegisterImageList(const std::string& name, std::vector<QPixmap> pictures);

}  // namespace ostrel
