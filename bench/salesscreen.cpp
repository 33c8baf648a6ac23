#include "salesscreen.h"

#include "keyscript/keyrobot.h"

#include "devices/systemclock.h"
#include "entry/getformone.h"
#include "sale/salesession.h"
#include "screens/sales/frmmain.h"
#include "screens/sales/salegrid.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <cstdio>

namespace qiantai::bench {

const char* const BeginStorePickup = "<Enter><wait 20>0101<Enter><Enter>1001<Enter><Enter><wait 20>";

namespace {

// The machine's time; setting the clock is always refused.
class ReadOnlyClock : public SystemClock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    bool Set(const QDateTime&) override { return false; }
};

} // namespace

QVariant TimedHost::invoke(int dispId, QVariantList& args)
{
    const Clock::time_point start = Clock::now();
    QVariant answer = inner_->invoke(dispId, args);
    calls_.push_back({start, Clock::now()});
    // QIANTAI_BENCH_SLOW_MS: calls slower than that are named on stderr.
    static const int slowMs = qEnvironmentVariableIntValue("QIANTAI_BENCH_SLOW_MS");
    const double ms = std::chrono::duration<double, std::milli>(calls_.back().end - start).count();
    if (slowMs > 0 && ms > slowMs)
        std::fprintf(stderr, "host call %d took %.1f ms: %s\n", dispId, ms,
                     qPrintable(args.value(0).toString().simplified().left(200)));
    return answer;
}

double TimedHost::msInsideUntil(Clock::time_point until) const
{
    double ms = 0;
    for (const Call& c : calls_)
        if (c.end <= until)
            ms += std::chrono::duration<double, std::milli>(c.end - c.start).count();
    return ms;
}

SalesScreen::~SalesScreen()
{
    if (screen_ && !screen_->Closed())
        screen_->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    Session() = SaleSession();
    SetModuleClock(nullptr);
    qunsetenv("QIANTAI_INI_DIR");
    if (host_)
        host_->release();
}

std::unique_ptr<SalesScreen> SalesScreen::Open(BenchStore& store, int printerPort, QString* error)
{
    std::unique_ptr<SalesScreen> s(new SalesScreen);
    if (!s->iniDir_.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return nullptr;
    }
    QFile ini(s->iniDir_.filePath(QStringLiteral("Quelmarpos.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write ") + ini.fileName();
        return nullptr;
    }
    ini.write(
        QStringLiteral("[Clock]\nSync=0\n[Printer]\nOmronPrinter=tcp://127.0.0.1:%1\n[Report]\nOutput=%2\n"
                       "[Checkout]\nRecordPause=0\n")
            .arg(printerPort)
            .arg(s->iniDir_.filePath(QStringLiteral("receipt.pdf")))
            .toUtf8());
    ini.close();
    qputenv("QIANTAI_INI_DIR", s->iniDir_.path().toUtf8());
    static ReadOnlyClock clock;
    SetModuleClock(&clock);

    // Text receipts on the station printer.
    if (!store.host().store().exec(
            QStringLiteral("UPDATE tbSysmsg SET f_Csz = '1' WHERE f_Csmc = 'xsxpdyfs'"), {}, error))
        return nullptr;

    // The host's own window is on screen, as in a real host.
    s->hostWindow_.resize(1024, 768);
    s->hostWindow_.show();
    s->host_ = new TimedHost(&store.host());
    const QByteArray op("0001");
    std::vector<unsigned char> shortString(1 + op.size());
    shortString[0] = static_cast<unsigned char>(op.size());
    std::copy(op.begin(), op.end(), shortString.begin() + 1);
    keyscript::KeyRobot robot;
    robot.start(QString::fromLatin1(BeginStorePickup));
    OpenSalesModule(&s->hostWindow_, &s->hostControl_, shortString.data(), 0, s->host_);
    const bool typed = robot.waitDone();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<TFrmMain*>(w); m && m->isVisible())
            s->screen_ = m;
    if (!s->screen_ || !s->screen_->StartupOk() || !typed) {
        *error = QStringLiteral("the sales screen did not open: ") + robot.error();
        return nullptr;
    }
    QApplication::processEvents();
    return s;
}

TSaleGrid& SalesScreen::grid() const
{
    return *screen_->Grid();
}

void SalesScreen::key(int key) const
{
    QWidget* target = keyscript::KeyTarget();
    QTest::keyClick(target ? target : screen_, Qt::Key(key));
}

void SalesScreen::type(const QString& text) const
{
    for (QChar c : text) {
        QWidget* target = keyscript::KeyTarget();
        QTest::keyClick(target ? target : screen_, c.toLatin1());
    }
}

void SalesScreen::repaintGrid() const
{
    grid().viewport()->repaint();
}

bool SalesScreen::script(const QString& keys, QString* error) const
{
    keyscript::KeyRobot robot;
    if (!robot.start(keys) || !robot.waitDone()) {
        *error = robot.error().isEmpty() ? QStringLiteral("key script did not end") : robot.error();
        return false;
    }
    // After the last dialog closed no window may be active: the screen is
    // activated, as a window manager would, and takes the keyboard back.
    if (!keyscript::KeyTarget()) {
        screen_->activateWindow();
        QApplication::processEvents();
    }
    return true;
}

bool SalesScreen::clearLines(QString* error) const
{
    if (Session().SaleLines.IsEmpty())
        return true;
    // The question takes the focus, which ends an open cell editor while
    // F5 is still being delivered to it: F5 goes to the grid itself.
    grid().CancelEditor();
    if (!script(QStringLiteral("<F5><wait 20><Enter><wait 20>"), error))
        return false;
    if (!Session().SaleLines.IsEmpty()) {
        *error = QStringLiteral("F5 left lines");
        return false;
    }
    return true;
}

int SalesScreen::lineCount() const
{
    return Session().SaleLines.Count();
}

} // namespace qiantai::bench
