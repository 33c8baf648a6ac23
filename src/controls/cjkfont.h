// Fonts of the screens. The screens are designed for "宋体"; where it is not
// installed the family list falls back to an installed CJK font.
#pragma once

#include <QFont>
#include <QStringList>

namespace qiantai {

// "宋体" first, then its Latin name and the CJK fonts found on Linux.
QStringList SongtiFamilies();
QFont SongtiPixelFont(int pixelSize, bool bold = false);
QFont SongtiPointFont(int pointSize, bool bold = false);

} // namespace qiantai
