#include "controls/blueframe.h"
#include "controls/cjkfont.h"

#include <QFontInfo>

#include <gtest/gtest.h>

using namespace qiantai;

TEST(StandardFrameGeometry, DesignedSizeAndGrowth)
{
    const FrameGeometry designed = StandardFrameGeometry(QSize(317, 48));
    EXPECT_EQ(designed.frame, QSize(335, 138));
    EXPECT_EQ(designed.heading, QRect(0, 0, 335, 32));
    EXPECT_EQ(designed.body, QRect(9, 38, 317, 48));
    EXPECT_EQ(designed.hint, QRect(9, 92, 317, 36));

    // 40 wider and 30 higher: frame, heading and hint widen by 40, the frame
    // grows by 30 and the hint line moves down by 30.
    const FrameGeometry grown = StandardFrameGeometry(QSize(357, 78));
    EXPECT_EQ(grown.frame, QSize(375, 168));
    EXPECT_EQ(grown.heading, QRect(0, 0, 375, 32));
    EXPECT_EQ(grown.body, QRect(9, 38, 357, 78));
    EXPECT_EQ(grown.hint, QRect(9, 122, 357, 36));
}

TEST(SongtiFont, FallsBackToAnInstalledCjkFont)
{
    const QFont font = SongtiPixelFont(14, true);
    EXPECT_EQ(font.pixelSize(), 14);
    EXPECT_TRUE(font.bold());
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(SongtiFamilies().contains(family)) << family.toStdString();
}
