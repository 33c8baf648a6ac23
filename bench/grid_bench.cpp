// Line grid timings on the offscreen platform. Each benchmark times single
// operations and reports their median and 99th percentile in milliseconds:
//   GridKeyMove       Right/Left on a line row: the cell is left (its text
//                     read and compared) and the grid repainted
//   GridKeyTypeDigit  a digit typed into the open quantity editor, repainted
//   GridKeyOpenEditor a digit typed on a cell not being edited: the editor
//                     opens with it, repainted
//   ProductEntry      a six-digit code and Enter on the entry row: lookup,
//                     department, trade status, stock and offer through the
//                     (fake) host, the new line shown and repainted
#include "benchtiming.h"
#include "fakehost.h"
#include "productstore.h"
#include "sale/salesession.h"
#include "screens/sales/salegrid.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace qiantai;
using qiantai::bench::TimeEach;
using qiantai::test::FakeHost;
using qiantai::test::ProductStore;

namespace {

class SilentPrompts : public EntryPrompts {
public:
    int ShowMessage(const QVariant&, const QString&, InfoKind) override { return 1; }
    bool PickProduct(const DataPacket&, int& row) override
    {
        row = 0;
        return true;
    }
};

// A sales screen's grid with `lines` lines entered, over a fake store.
class GridBench {
public:
    explicit GridBench(int lines)
    {
        ResetSessionState(Session());
        Session().HostObject = CoorDispRef(fake_);
        fake_->release();
        Session().Dwlx = QStringLiteral("11");
        Session().Gzbm = QStringLiteral("010102");
        for (int i = 0; i < 100; ++i) {
            const QString code = QString::number(100000 + i);
            store_.products[code] = {ProductStore::Product(code, QStringLiteral("商品%1").arg(i), 10 + i)};
        }
        window_.resize(1024, 600);
        grid_ = new TSaleGrid(&window_);
        grid_->setGeometry(0, 0, 1024, 600);
        grid_->SetColumnWidthsFor(1024);
        grid_->SetPrompts(&prompts_);
        window_.show();
        QApplication::setActiveWindow(&window_);
        grid_->ResetRows();
        for (int i = 0; i < lines; ++i)
            AddLine(i % 100);
        QApplication::processEvents();
    }
    ~GridBench()
    {
        delete grid_;
        Session().SaleLines.Clear();
        Session().HostObject = CoorDispRef();
    }

    TSaleGrid& grid() { return *grid_; }
    QWidget* target() const
    {
        QWidget* w = QApplication::focusWidget();
        return w != nullptr ? w : grid_;
    }
    void Type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(target(), c.toLatin1());
    }
    void Key(Qt::Key key) { QTest::keyClick(target(), key); }
    void Repaint() { grid_->viewport()->repaint(); }
    // Enters product `i`, then confirms quantity, price and amount so that a
    // new entry row waits.
    void AddLine(int i)
    {
        Type(QString::number(100000 + i));
        Key(Qt::Key_Return);
        Key(Qt::Key_Return);
        Key(Qt::Key_Return);
        Key(Qt::Key_Return);
    }

private:
    FakeHost* fake_ = new FakeHost;
    ProductStore store_{*fake_};
    SilentPrompts prompts_;
    QWidget window_;
    TSaleGrid* grid_ = nullptr;
};

void GridKeyMove(benchmark::State& state)
{
    GridBench b(int(state.range(0)));
    b.grid().SetCursor(1, 3);
    bool right = true;
    TimeEach(
        state, [] {},
        [&] {
            b.Key(right ? Qt::Key_Right : Qt::Key_Left);
            b.Repaint();
            right = !right;
        });
}

void GridKeyTypeDigit(benchmark::State& state)
{
    GridBench b(int(state.range(0)));
    b.grid().SetCursor(1, 3);
    int typed = 0;
    TimeEach(
        state,
        [&] {
            if (typed++ % 6 == 0) { // a fresh editor now and then
                b.Key(Qt::Key_Escape);
                b.Type("1");
            }
        },
        [&] {
            b.Type("2");
            b.Repaint();
        });
}

void GridKeyOpenEditor(benchmark::State& state)
{
    GridBench b(int(state.range(0)));
    b.grid().SetCursor(1, 3);
    TimeEach(
        state, [&] { b.Key(Qt::Key_Escape); },
        [&] {
            b.Type("3");
            b.Repaint();
        });
}

void ProductEntry(benchmark::State& state)
{
    GridBench b(int(state.range(0)));
    int next = 0;
    TimeEach(
        state,
        [&] {
            if (b.grid().CurrentRowHasLine()) { // quantity, price, amount: a new entry row
                b.Key(Qt::Key_Return);
                b.Key(Qt::Key_Return);
                b.Key(Qt::Key_Return);
            }
            // Back to the document's size now and then.
            if (Session().SaleLines.Count() >= state.range(0) + 20) {
                Session().SaleLines.Clear();
                b.grid().ResetRows();
                for (int i = 0; i < state.range(0); ++i)
                    b.AddLine(i % 100);
            }
        },
        [&] {
            b.Type(QString::number(100000 + next++ % 100));
            b.Key(Qt::Key_Return);
            b.Repaint();
        });
    if (Session().SaleLines.IsEmpty())
        state.SkipWithError("no product was entered");
}

} // namespace

BENCHMARK(GridKeyMove)->Arg(1)->Arg(20)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(GridKeyTypeDigit)->Arg(20)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(GridKeyOpenEditor)->Arg(20)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(ProductEntry)->Arg(1)->Arg(20)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
