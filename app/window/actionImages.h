#pragma once
// The program's own pictures: the 20 toolbar and menu images of the image list
// (16 x 16 design units) and the application icon, drawn as vectors at whatever
// size and device pixel ratio they are shown, so they stay crisp on any screen.

#include <QIcon>

namespace magna {

constexpr int ImageListCount = 20;

/// The image at an index of the image list; a null icon outside 0 ... 19.
QIcon ActionImage(int index);
/// The application's icon: a large "あ" on a page.
QIcon ApplicationIcon();

}  // namespace magna
