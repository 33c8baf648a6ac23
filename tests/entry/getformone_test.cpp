#include "devices/systemclock.h"
#include "entry/getformone.h"
#include "qiantai/dispids.h"
#include "qiantai/entry.h"
#include "sale/salesession.h"
#include "screens/lookups/frminfo.h"
#include "screens/sales/frmmain.h"

#include "modalscript.h"
#include "storefixture.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLibrary>

#include <gtest/gtest.h>

#include <vector>

using namespace qiantai;
using qiantai::test::FakeHost;
using qiantai::test::ModalScript;
using qiantai::test::StoreFixture;

// Store pickup, salesperson 2001: the begin-sale dialogs answered.
const QString BeginSale = QStringLiteral("<Enter>2001<Enter><Enter>");

namespace {

// The host's container window: counts close notifications.
class HostControl : public QWidget {
public:
    int closed = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == ScreenClosedEventType)
            ++closed;
        return QWidget::event(e);
    }
};

std::vector<unsigned char> ShortString(const QByteArray& bytes)
{
    std::vector<unsigned char> s(1 + bytes.size());
    s[0] = static_cast<unsigned char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), s.begin() + 1);
    return s;
}

QList<TFrmMain*> OpenScreens()
{
    QList<TFrmMain*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<TFrmMain*>(w); m && m->isVisible())
            out.append(m);
    return out;
}

// The store fixture's server time: the start-up finds no clock to set.
class FixtureTimeClock : public SystemClock {
public:
    QDateTime Now() const override { return StoreFixture().serverTime; }
    bool Set(const QDateTime&) override { return false; }
};

class GetFormOneTest : public ::testing::Test {
protected:
    GetFormOneTest() : previousClock(&ModuleClock()) { SetModuleClock(&clock); }
    ~GetFormOneTest() override { SetModuleClock(previousClock); }

    void TearDown() override
    {
        for (TFrmMain* m : OpenScreens())
            m->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    // Opens the module and types `keys` into the dialogs it shows.
    void Open(FakeHost* host, const QByteArray& op = "1001", int32_t ignored = 0,
              const QString& keys = BeginSale)
    {
        auto s = ShortString(op);
        ModalScript script(keys);
        OpenSalesModule(&app, &control, s.data(), ignored, host);
        EXPECT_TRUE(script.done());
    }
    void OpenAgain(FakeHost* host)
    {
        auto s = ShortString("1001");
        OpenSalesModule(&app, &control, s.data(), 0, host);
    }

    FixtureTimeClock clock;
    SystemClock* previousClock;
    QWidget app;
    HostControl control;
};

} // namespace

TEST_F(GetFormOneTest, OpensOneScreenAndStoresTheHostBoundary)
{
    auto* host = new StoreFixture;
    Open(host, "1001", 12345);
    ASSERT_EQ(OpenScreens().size(), 1);
    EXPECT_TRUE(OpenScreens().first()->StartupOk());
    EXPECT_EQ(Session().Djh, host->nextDocumentNumber);
    EXPECT_EQ(Session().Syybm, QStringLiteral("1001"));
    EXPECT_EQ(Session().HostAppHandle, &app);
    EXPECT_EQ(Session().HostControl, &control);
    EXPECT_EQ(Session().HostObject.get(), host);
    EXPECT_EQ(host->refCount(), 2); // ours and the session's
    EXPECT_EQ(Session().OwnerWindow, nullptr);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);

    // A second call while the screen is open builds no second screen.
    auto* other = new StoreFixture;
    OpenAgain(other);
    EXPECT_EQ(OpenScreens().size(), 1);
    EXPECT_EQ(Session().HostObject.get(), host);
    other->release();
    host->release();
}

TEST_F(GetFormOneTest, ClosingNotifiesTheHostOnceAndShowsThePointer)
{
    auto* host = new StoreFixture;
    Open(host);
    ASSERT_EQ(OpenScreens().size(), 1);
    OpenScreens().first()->close();
    EXPECT_EQ(control.closed, 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(OpenScreens().isEmpty());

    // Opening again builds a fresh screen on the newly passed host object
    // and releases the earlier one.
    auto* second = new StoreFixture;
    Open(second);
    EXPECT_EQ(OpenScreens().size(), 1);
    EXPECT_EQ(Session().HostObject.get(), second);
    EXPECT_EQ(host->refCount(), 1);
    OpenScreens().first()->close();
    EXPECT_EQ(control.closed, 2);
    host->release();
    second->release();
}

TEST_F(GetFormOneTest, FailedStartupClosesAtOnceAndBeginsNoDocument)
{
    auto* host = new StoreFixture;
    host->currentYearMonth = QStringLiteral("200405"); // the month is not closed yet
    QString told;
    auto s = ShortString("1001");
    ModalScript script(QStringLiteral("<Enter>"), [&](QWidget* w) {
        if (auto* box = qobject_cast<TfrmInfo*>(w))
            told = box->message();
    });
    OpenSalesModule(&app, &control, s.data(), 0, host);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(told, QStringLiteral("系统尚未结转不能销售")); // the stop, not the sales method picker
    QApplication::processEvents();
    EXPECT_TRUE(OpenScreens().isEmpty());
    EXPECT_EQ(control.closed, 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(host->count(dispid::AllocateDocumentNumber), 0);
    EXPECT_EQ(host->count(dispid::AllocateDeliveryDocumentNumber), 0);
    EXPECT_TRUE(Session().Djh.isEmpty());
    host->release();
}

TEST_F(GetFormOneTest, ResizeEventSizesPanelMain)
{
    auto* host = new StoreFixture;
    Open(host);
    TFrmMain* screen = OpenScreens().value(0);
    ASSERT_NE(screen, nullptr);
    PanelResizeEvent resize(600, 800);
    QApplication::sendEvent(screen, &resize);
    EXPECT_EQ(screen->PanelMain()->height(), 600);
    EXPECT_EQ(screen->PanelMain()->width(), 800);
    host->release();
}

TEST(Library, ExportsGetFormOne)
{
    const QString dir = qEnvironmentVariable("QIANTAI_BUILD_DIR");
    ASSERT_FALSE(dir.isEmpty());
    QLibrary lib(dir + QStringLiteral("/lib/libqiantai.so"));
    ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
    EXPECT_NE(lib.resolve("GetFormOne"), nullptr);
    EXPECT_EQ(lib.resolve("_ZN7qiantai15OpenSalesModuleEP7QWidgetS1_PKhiPNS_9ICoorDispE"), nullptr);
}
