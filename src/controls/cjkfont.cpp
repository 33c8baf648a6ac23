#include "controls/cjkfont.h"

namespace qiantai {

QStringList SongtiFamilies()
{
    return {QString::fromUtf8("宋体"),
            QStringLiteral("SimSun"),
            QStringLiteral("NSimSun"),
            QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("WenQuanYi Zen Hei")};
}

namespace {

QFont SongtiFont(bool bold)
{
    QFont font;
    font.setFamilies(SongtiFamilies());
    font.setStyleHint(QFont::AnyStyle);
    font.setBold(bold);
    return font;
}

} // namespace

QFont SongtiPixelFont(int pixelSize, bool bold)
{
    QFont font = SongtiFont(bold);
    font.setPixelSize(pixelSize);
    return font;
}

QFont SongtiPointFont(int pointSize, bool bold)
{
    QFont font = SongtiFont(bold);
    font.setPointSize(pointSize);
    return font;
}

} // namespace qiantai
