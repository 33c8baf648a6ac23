// The sales screen in-process over the reference store host (SQLite demo
// store with QIANTAI_BENCH_PRODUCTS generated products, default 50000), on
// the offscreen platform:
//   SalesKey/move      Right/Left on a line row, the grid repainted
//   SalesKey/digit     a digit typed into the code of the entry row, repainted
//   ProductEntry       a product code and Enter on the entry row: lookup and
//                      the other checks through the host, the new line shown
//                      and the grid repainted
//   WholeSale          five products and a cash payment typed as a cashier
//                      does, from the first key to the receipt's last bytes
//                      at a loopback printer; host_share is the part of that
//                      time spent inside the host's invoke
#include "benchstore.h"
#include "benchtiming.h"
#include "receiptlistener.h"
#include "salesscreen.h"

#include "screens/sales/salegrid.h"
#include "store/demodata.h"

#include <QApplication>

#include <cstdio>
#include <random>

using namespace qiantai;
using namespace qiantai::bench;

namespace {

// Each product: code, Enter, then quantity, price and amount confirmed.
QString ProductKeys(const QString& code)
{
    return code + QStringLiteral("<Enter><Enter><Enter><Enter>");
}

// After the lines: checkout; customer information kept; cash for what is
// due; record. The next document then begins.
const char* const PayCash = "<F1><Enter><KP1><Enter><Enter><Enter>";

// A random product in stock at counter group 0101.
QString RandomProduct(std::mt19937& random, int products)
{
    std::uniform_int_distribution<int> pick(0, std::max(0, products / 2 - 1));
    return host::DemoGeneratedProduct(2 * pick(random)).code;
}

bool Fill(SalesScreen& s, int lines, int products, QString* error)
{
    if (!s.clearLines(error))
        return false;
    std::mt19937 random(3);
    QString keys;
    for (int i = 0; i < lines; ++i)
        keys += ProductKeys(RandomProduct(random, products));
    return s.script(keys, error) && s.lineCount() == lines;
}

void SalesKeyMove(benchmark::State& state, SalesScreen* s, int products)
{
    QString error;
    if (!Fill(*s, 5, products, &error)) {
        Skip(state, ("entering five lines: " + error).toStdString());
        return;
    }
    s->grid().SetCursor(1, 3);
    bool right = true;
    TimeEach(
        state, [] {},
        [&] {
            s->key(right ? Qt::Key_Right : Qt::Key_Left);
            s->repaintGrid();
            right = !right;
        });
}

void SalesKeyDigit(benchmark::State& state, SalesScreen* s, int products)
{
    QString error;
    if (!Fill(*s, 5, products, &error)) {
        Skip(state, ("entering five lines: " + error).toStdString());
        return;
    }
    s->grid().SetCursor(s->lineCount() + 1, 0);
    int typed = 0;
    TimeEach(
        state,
        [&] {
            if (typed++ % 6 == 0) // a short code each time
                for (int i = 0; i < 6; ++i)
                    s->key(Qt::Key_Backspace);
        },
        [&] {
            s->type(QStringLiteral("2"));
            s->repaintGrid();
        });
    for (int i = 0; i < 6; ++i)
        s->key(Qt::Key_Backspace);
}

void ProductEntry(benchmark::State& state, SalesScreen* s, int products)
{
    QString error;
    if (!s->clearLines(&error)) {
        Skip(state, error.toStdString());
        return;
    }
    std::mt19937 random(5);
    QString code;
    int before = 0;
    TimeEach(
        state,
        [&] {
            if (s->grid().CurrentRowHasLine()) { // quantity, price, amount: a new entry row
                s->key(Qt::Key_Return);
                s->key(Qt::Key_Return);
                s->key(Qt::Key_Return);
            }
            if (s->lineCount() >= 20 && !s->clearLines(&error))
                Skip(state, error.toStdString());
            code = RandomProduct(random, products);
            before = s->lineCount();
        },
        [&] {
            s->type(code);
            s->key(Qt::Key_Return);
            s->repaintGrid();
        });
    if (s->lineCount() != before + 1)
        Skip(state, ("the last code entered no line: " + code).toStdString());
}

void WholeSale(benchmark::State& state, SalesScreen* s, ReceiptListener* printer, int products)
{
    QString error;
    if (!s->clearLines(&error)) {
        Skip(state, error.toStdString());
        return;
    }
    std::mt19937 random(9);
    std::vector<double> total, share;
    for (auto _ : state) {
        QString keys;
        for (int i = 0; i < 5; ++i)
            keys += ProductKeys(RandomProduct(random, products));
        keys += QString::fromLatin1(PayCash) + QString::fromLatin1(BeginStorePickup);
        const int receipt = printer->receipts() + 1;
        s->host().clearCalls();
        const Clock::time_point start = Clock::now();
        Clock::time_point printed;
        if (!s->script(keys, &error) || !printer->waitForReceipt(receipt, 5000, &printed)) {
            Skip(state, ("no receipt: " + error).toStdString());
            break;
        }
        const double ms = std::chrono::duration<double, std::milli>(printed - start).count();
        state.SetIterationTime(ms / 1000);
        total.push_back(ms);
        share.push_back(s->host().msInsideUntil(printed) / ms);
        if (s->lineCount() != 0) {
            Skip(state, "the next document did not begin");
            break;
        }
    }
    ReportSpread(state, total);
    state.counters["host_share"] = SpreadOf(share).median;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QString error;
    std::unique_ptr<BenchStore> store = BenchStore::OpenSqlite(BenchProductCount(50000), &error);
    if (!store) {
        std::fprintf(stderr, "store: %s\n", qPrintable(error));
        return 1;
    }
    if (store->generationSeconds() >= 0)
        std::printf("%s: demo data created in %.1f s\n", qPrintable(store->describe()),
                    store->generationSeconds());
    ReceiptListener printer;
    if (!printer.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::unique_ptr<SalesScreen> screen = SalesScreen::Open(*store, printer.port(), &error);
    if (!screen) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const int products = store->products();
    benchmark::RegisterBenchmark("SalesKey/move", SalesKeyMove, screen.get(), products)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SalesKey/digit", SalesKeyDigit, screen.get(), products)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ProductEntry", ProductEntry, screen.get(), products)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("WholeSale", WholeSale, screen.get(), &printer, products)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    screen.reset();
    return 0;
}
