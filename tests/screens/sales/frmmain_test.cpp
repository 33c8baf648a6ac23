#include "modalscript.h"
#include "storefixture.h"

#include "devices/systemclock.h"
#include "qiantai/dispids.h"
#include "sale/salesession.h"
#include "screens/lookups/frminfo.h"
#include "screens/sales/frmmain.h"
#include "screens/sales/saleslayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::ModalScript;
using qiantai::test::StoreFixture;

namespace {

class FixedClock : public SystemClock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2004, 6, 15), QTime(10, 20, 30)); }
    bool Set(const QDateTime&) override { return false; }
};

// The module's clock (the fixture's), no report engine and no printer.
StartupServices ClockOnly()
{
    StartupServices services;
    services.clock = &ModuleClock();
    return services;
}

// Records the screen's messages and answers them from a list (1 = Yes).
class RecordingMain : public TFrmMain {
public:
    RecordingMain() : TFrmMain(nullptr, nullptr, ClockOnly()) {}
    QStringList messages;
    QList<int> answers;
    int checkouts = 0, discounts = 0, tools = 0;
    void Checkout() override { ++checkouts; }
    void Discount() override { ++discounts; }
    void SystemTools() override { ++tools; }
    int ShowMessage(const QString& text, InfoKind kind) override
    {
        messages.append(text);
        return InfoAcceptsEsc(kind) && !answers.isEmpty() ? answers.takeFirst() : 1;
    }
};

class FrmMainTest : public ::testing::Test {
protected:
    FrmMainTest() : host(new StoreFixture), previousClock(&ModuleClock())
    {
        SetModuleClock(&clock);
        SaleSession& s = Session();
        s.HostObject.reset(host);
        host->release();
        s.Syybm = QStringLiteral("1001");
        s.HostAppHandle = nullptr;
        s.HostControl = nullptr;
    }
    ~FrmMainTest() override
    {
        SetModuleClock(previousClock);
        Session().HostObject.reset(nullptr);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A screen whose start-up has run, shown and laid out.
    RecordingMain* Open()
    {
        auto* m = new RecordingMain;
        m->show();
        return m;
    }

    // A key as the keyboard delivers it: to the screen's focused control.
    static void Key(QWidget* w, Qt::Key key)
    {
        QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, key);
    }

    FixedClock clock;
    StoreFixture* host;
    SystemClock* previousClock;
};

struct Seen {
    bool shown = false;
    QString heading;
    QString message;
};

Seen LookAtBox(QWidget* modal)
{
    Seen s;
    if (auto* box = qobject_cast<TfrmInfo*>(modal)) {
        s.shown = true;
        s.heading = box->heading();
        s.message = box->message();
    } else if (auto* mb = qobject_cast<QMessageBox*>(modal)) {
        s.shown = true;
        s.heading = mb->windowTitle();
        s.message = mb->text();
    }
    return s;
}

} // namespace

TEST_F(FrmMainTest, StartupStopIsShownAndTheScreenClosesWhenShown)
{
    const struct {
        std::function<void(StoreFixture&)> arrange;
        const char* heading;
        const char* message;
    } cases[] = {
        {[](StoreFixture& h) { h.currentYearMonth = QStringLiteral("200405"); }, "错误提示",
         "系统尚未结转不能销售"},
        {[](StoreFixture& h) { h.setParameter(QStringLiteral("dwlx"), QStringLiteral("01")); }, "错误提示",
         "所连接数据库不是门店类型，不允许销售！"},
        // A missing template goes to the system's box, not the information box.
        {[](StoreFixture& h) {
             h.on(dispid::GetReportTemplates, [](QVariantList& a) {
                 a[1] = packetToVariant(DataPacket());
                 return QVariant(true);
             });
         },
         "错误", "销货单报表模板不存在！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        auto* fresh = new StoreFixture;
        Session().HostObject.reset(fresh);
        fresh->release();
        c.arrange(*fresh);
        Seen seen;
        ModalScript script(QStringLiteral("<Enter>"), [&](QWidget* w) { seen = LookAtBox(w); });
        QPointer<RecordingMain> m = new RecordingMain;
        EXPECT_TRUE(script.done());
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.heading, QString::fromUtf8(c.heading));
        EXPECT_EQ(seen.message, QString::fromUtf8(c.message));
        EXPECT_FALSE(m->StartupOk());
        m->show();
        QApplication::processEvents();
        EXPECT_TRUE(m->Closed());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(m.isNull());
    }
}

TEST_F(FrmMainTest, FirstDisplayLaysTheScreenOut)
{
    RecordingMain* m = Open();
    ASSERT_TRUE(m->StartupOk());
    EXPECT_FALSE(m->FirstShow());
    const QSize screen = m->screen()->geometry().size();
    EXPECT_EQ(m->geometry(), QRect(QPoint(0, 0), screen));
    m->ApplyLayout(QSize(1024, 768));
    const SalesLayoutGeometry g = ComputeSalesLayout(QSize(1024, 768));
    EXPECT_EQ(m->findChild<QWidget*>(QStringLiteral("PanTitle1"))->geometry(), g.title);
    EXPECT_EQ(m->findChild<QWidget*>(QStringLiteral("PanTitle2"))->geometry(), g.titleShadow);
    EXPECT_EQ(m->findChild<QWidget*>(QStringLiteral("PanNr2"))->geometry(), g.numberShadow);
    EXPECT_EQ(m->findChild<QWidget*>(QStringLiteral("panBody1"))->geometry(), g.body);
    EXPECT_EQ(m->findChild<QWidget*>(QStringLiteral("panFooter"))->geometry(), g.footer);
    EXPECT_EQ(m->gridPanel()->geometry(), g.gridPanel);
    EXPECT_FALSE(m->findChild<QWidget*>(QStringLiteral("panFooter"))->isEnabled());

    QLabel* time = m->label("lblTime");
    EXPECT_EQ(time->text(), QStringLiteral("2004年06月15日 10:20:30"));
    EXPECT_EQ(time->geometry().right(), g.title.width() - 11); // 10 from the right edge
    // The totals follow their captions.
    EXPECT_EQ(m->label("lbljs1")->x(), m->label("lblNr")->geometry().right() + 1 + 20);
    EXPECT_EQ(m->label("lbljs")->x(), m->label("lbljs1")->geometry().right() + 1 + 10);
    EXPECT_EQ(m->label("lblje1")->x(), m->label("lbljs")->geometry().right() + 1 + 20);
    EXPECT_EQ(m->label("lblje")->x(), m->label("lblje1")->geometry().right() + 1 + 10);
    m->close();
}

TEST_F(FrmMainTest, BeginSaleRunsThePickerAndTheSalesInformation)
{
    RecordingMain* m = Open();
    // Store delivery, then F1 back to the picker, which opens on the
    // previous choice; Enter takes it again.
    ModalScript script(QStringLiteral("<Down><Enter><F1><Enter>2001<Enter><Enter>"));
    m->BeginSaleDocument();
    EXPECT_TRUE(script.done());
    const SaleSession& s = Session();
    EXPECT_EQ(s.Xsfs, 1);
    EXPECT_EQ(s.Yyymc, QStringLiteral("李四"));
    EXPECT_EQ(s.Djh, QStringLiteral("0101200406150001"));
    EXPECT_EQ(m->label("lblDjh")->text(), QStringLiteral("单据号:0101200406150001"));
    EXPECT_EQ(m->label("lblTitle1")->text(), QStringLiteral("收银员：张三          营业员：李四"));
    EXPECT_TRUE(m->label("lblTitle2")->text().endsWith(QStringLiteral("销售方式：门店送货")));
    EXPECT_EQ(m->label("lblBmbm")->text(), QStringLiteral("电器一店"));
    EXPECT_EQ(host->callsTo(dispid::AllocateDeliveryDocumentNumber).size(), 1);
    m->close();
}

TEST_F(FrmMainTest, CancelledPickerAsksAndLeavesTheModule)
{
    RecordingMain* m = Open();
    m->answers = {1};
    QPointer<RecordingMain> alive(m);
    ModalScript script(QStringLiteral("<Esc>"));
    m->BeginSaleDocument();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(m->messages, QStringList{QStringLiteral("确定要退出本模块吗？")});
    EXPECT_TRUE(m->Closed());
    EXPECT_TRUE(Session().Djh.isEmpty());
}

TEST_F(FrmMainTest, FunctionKeysWithoutAndWithLines)
{
    RecordingMain* m = Open();
    const int& checkouts = m->checkouts;
    const int& discounts = m->discounts;
    const int& tools = m->tools;

    // No lines: F1 does nothing, Esc asks (No keeps the screen open).
    m->answers = {2};
    Key(m, Qt::Key_F1);
    Key(m, Qt::Key_F3);
    Key(m, Qt::Key_Escape);
    EXPECT_EQ(checkouts, 0);
    EXPECT_EQ(discounts, 1);
    EXPECT_EQ(m->messages, QStringList{QStringLiteral("确定要退出本模块吗？")});
    EXPECT_FALSE(m->Closed());

    // With a line: F1 goes to checkout, F6 and Esc are refused, F5 asks and
    // on Yes empties the document.
    m->messages.clear();
    Session().SaleLines.Add().Quantity = 2;
    Key(m, Qt::Key_F1);
    Key(m, Qt::Key_F6);
    Key(m, Qt::Key_Escape);
    m->answers = {2, 1};
    Key(m, Qt::Key_F5);
    EXPECT_EQ(Session().SaleLines.Count(), 1);
    Key(m, Qt::Key_F5);
    EXPECT_EQ(checkouts, 1);
    EXPECT_EQ(m->messages, (QStringList{QStringLiteral("已经有销售数据不能修改销售参数！"),
                                        QStringLiteral("已经有销售数据不能退出！"),
                                        QStringLiteral("真的要删除全部记录吗？"),
                                        QStringLiteral("真的要删除全部记录吗？")}));
    EXPECT_TRUE(Session().SaleLines.IsEmpty());
    EXPECT_EQ(m->label("lbljs")->text(), QStringLiteral("   0"));
    // F10 only with system tools.
    ASSERT_FALSE(Session().SystemTools.IsEmpty());
    Key(m, Qt::Key_F10);
    EXPECT_EQ(tools, 1);
    Session().SystemTools.Clear();
    Key(m, Qt::Key_F10);
    EXPECT_EQ(tools, 1);

    // No line again: Esc and Yes closes the screen.
    m->answers = {1};
    Key(m, Qt::Key_Escape);
    EXPECT_TRUE(m->Closed());
}

TEST_F(FrmMainTest, MemberLineShowsTheIdentifiedCard)
{
    RecordingMain* m = Open();
    QLineEdit* hy = m->footerField("edtHy");
    hy->setText(QStringLiteral("earlier"));
    m->RefreshMemberLine();
    EXPECT_EQ(hy->text(), QStringLiteral("earlier")); // no card: unchanged
    Session().CurrentMemberCard.CardNo = QStringLiteral("8800000001");
    Session().CurrentMemberCard.Points = 1200.9;
    m->RefreshMemberLine();
    EXPECT_EQ(hy->text(), QStringLiteral("卡号:8800000001 积分:1200"));

    // The next customer starts without that card, and without its line.
    ModalScript script(QStringLiteral("<Enter>2001<Enter><Enter>"));
    m->BeginSaleDocument();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(Session().CurrentMemberCard.CardNo.isEmpty());
    EXPECT_EQ(hy->text(), QString());
    m->close();
}

TEST_F(FrmMainTest, ScreenPaintsItsPanelsInTheirColours)
{
    RecordingMain* m = Open();
    ModalScript script(QStringLiteral("<Enter>2001<Enter><Enter>"));
    m->BeginSaleDocument();
    EXPECT_TRUE(script.done());
    const QSize size(1024, 768);
    m->ApplyLayout(size);
    const QImage shot = m->grab().toImage();
    ASSERT_EQ(shot.size(), size);
    const SalesLayoutGeometry g = ComputeSalesLayout(size);
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(214, 223, 247));                              // PanelMain
    EXPECT_EQ(shot.pixelColor(g.title.topLeft() + QPoint(3, 50)), QColor(198, 223, 247)); // title panel
    EXPECT_EQ(shot.pixelColor(g.title.topLeft()), QColor(0, 66, 0));                      // its border
    EXPECT_EQ(shot.pixelColor(g.titleShadow.bottomRight()), QColor(19, 91, 125));         // shadow
    // QIANTAI_SCREENSHOT names a file to keep the picture in.
    if (const QString file = qEnvironmentVariable("QIANTAI_SCREENSHOT"); !file.isEmpty()) {
        EXPECT_TRUE(shot.save(file));
    }
    m->close();
}
