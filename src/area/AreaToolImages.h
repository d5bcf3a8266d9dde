#pragma once

#include <QIcon>

// The toolbar's image list ImgListTool: pictures by index, as the toolbar buttons name
// them (4 add, 5 delete, 10 exit, 15 assistant, 16 locate, 17 modify). An index with no
// picture gives a null icon.
namespace AreaToolImages {

QIcon image(int index);

} // namespace AreaToolImages
