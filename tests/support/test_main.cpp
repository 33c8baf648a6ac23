// Test runner: a QApplication on the offscreen platform, then GoogleTest.
#include "devices/systemclock.h"

#include <QApplication>

#include <gmock/gmock.h>

namespace {

// No test may set the machine's clock: a screen start-up that reaches the
// module clock without a fake installed fails the test instead.
class GuardClock : public qiantai::SystemClock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    bool Set(const QDateTime& to) override
    {
        ADD_FAILURE() << "a test tried to set the machine clock to "
                      << to.toString(Qt::ISODate).toStdString();
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    static GuardClock guard;
    qiantai::SetModuleClock(&guard);
    return RUN_ALL_TESTS();
}
