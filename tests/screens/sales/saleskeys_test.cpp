#include "screens/sales/saleskeys.h"

#include <Qt>

#include <gtest/gtest.h>

using namespace qiantai;

TEST(SalesKeys, EachKeyActsOnlyInItsState)
{
    using A = SalesKeyAction;
    struct Case {
        int key;
        SalesKeyState state;
        A expected;
    };
    const SalesKeyState empty{};
    const SalesKeyState onEntryRow{true, false, true};
    const SalesKeyState onLine{true, true, true};
    for (const Case& c :
         {Case{Qt::Key_F1, empty, A::None}, Case{Qt::Key_F1, onEntryRow, A::Checkout},
          Case{Qt::Key_F3, empty, A::Discount}, Case{Qt::Key_F4, onEntryRow, A::None},
          Case{Qt::Key_F4, onLine, A::DeleteLine}, Case{Qt::Key_F5, empty, A::DeleteAll},
          Case{Qt::Key_F6, empty, A::NewDocument}, Case{Qt::Key_F6, onLine, A::RefuseNewDocument},
          Case{Qt::Key_F10, empty, A::None}, Case{Qt::Key_F10, onEntryRow, A::SystemTools},
          Case{Qt::Key_Escape, empty, A::ExitQuestion}, Case{Qt::Key_Escape, onLine, A::RefuseExit},
          Case{Qt::Key_F2, onLine, A::None}, Case{Qt::Key_Return, onLine, A::None}}) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(DecideSalesKey(c.key, c.state), c.expected);
    }
}
