#include "devices/posprinter.h"
#include "devices/printerstatus.h"

#include <gtest/gtest.h>

using namespace qiantai;

// DLE EOT 1 printer, DLE EOT 2 offline cause, DLE EOT 4 paper sensor.
TEST(PrinterStatusCode, StatusBytesBecomeResultCodes)
{
    const struct {
        unsigned char printer, offline, paper;
        long code, extended;
    } cases[] = {
        {0x12, 0x12, 0x12, opos::Success, 0},
        {0x12, 0x12, 0x1e, opos::Success, 0}, // paper near its end still prints
        {0x12, 0x12, 0x72, opos::EExtended, opos::EptrRecEmpty},
        {0x1a, 0x32, 0x12, opos::EExtended, opos::EptrRecEmpty}, // stopped by the paper end
        {0x1a, 0x16, 0x72, opos::EExtended, opos::EptrCoverOpen},
        {0x1a, 0x12, 0x12, opos::EOffline, 0},
        {0x32, 0x12, 0x12, opos::EOffline, 0}, // waiting for the feed button
        {0x12, 0x52, 0x12, opos::EOffline, 0}, // an error occurred
    };
    for (const auto& c : cases) {
        long extended = -1;
        EXPECT_EQ(PrinterStatusCode(c.printer, c.offline, c.paper, &extended), c.code)
            << int(c.printer) << " " << int(c.offline) << " " << int(c.paper);
        EXPECT_EQ(extended, c.extended);
    }
}
