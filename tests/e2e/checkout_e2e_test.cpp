// Checkout through qiantai-host on a fresh demo store: the payment loop, the
// stored document, the receipt (text to a loopback printer, template to a
// PDF file) and retries after failures.
#include "e2estore.h"
#include "salekeys.h"

#include "base/gbk.h"
#include "loopbackreceiver.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using qiantai::FromGbk;
using qiantai::GbkWidth;
using qiantai::test::E2EStore;
using qiantai::test::HostRun;
using qiantai::test::LoopbackReceiver;
using qiantai::test::ScreenDump;

namespace {

constexpr int StorePickup = 0;
constexpr int StoreDelivery = 1;

// One sale up to its cash payments.
struct Sale {
    int method = StorePickup;
    QString lines;        // item entry keys
    QString deposit;      // delivery sales: the deposit typed (empty: the total)
    QString customerInfo; // typed into the customer information box
    QStringList cash;     // one amount entry each, through the picker's first row
};

// The <wait 100> after a line: the cursor moves on to the next line, which
// no text shows.

// A line of the amount-controlled product 100002 (tax 6) with its amount.
QString AmountLine(const QString& amount)
{
    return QStringLiteral("100002<Enter><waitfor edtBm 100002><Enter><Enter>%1<Enter><wait 100>\n")
        .arg(amount);
}

// A line of a priced product with its quantity.
QString QuantityLine(const QString& code, int quantity)
{
    return QStringLiteral("%1<Enter><waitfor edtBm %1>%2<Enter><Enter><Enter><wait 100>\n")
        .arg(code)
        .arg(quantity);
}

// Begins the sale (method, counter group 0101, salesperson 1001), types its
// lines, F1, the deposit of a delivery sale and the customer information,
// then pays each cash amount. The settlement screen (or its picker, when the
// cash does not cover the amount due) is left open.
QString SaleKeys(const Sale& s)
{
    QString k = qiantai::test::BeginSale(QString::number(s.method));
    k += s.lines;
    if (s.method != StorePickup)
        k += QStringLiteral("<F1><waitfor frmDjzf>") + s.deposit + QStringLiteral("<Enter><waitfor frmKhxx>");
    else
        k += QStringLiteral("<F1><waitfor frmKhxx>");
    k += s.customerInfo + QStringLiteral("<Enter><waitfor frmSelectZffs>\n");
    double paid = 0;
    for (const QString& amount : s.cash) {
        paid += amount.toDouble();
        k += QStringLiteral("<Enter><waitfor frmFkje>%1<Enter><waitfor Fkje_Value %2>\n")
                 .arg(amount, QString::number(paid, 'f', 2));
    }
    return k;
}

// The rest on the account of customer 000001 (picker row 7, the code, the
// name, the amount entry with the remaining amount), until no change is due.
// The name shows within the code's Enter: nothing new is to appear.
const QString PayRestOnAccount = QStringLiteral("7<Enter><waitfor frmKhxf>000001<Enter><wait 100><Enter>"
                                                "<waitfor frmFkje><Enter><waitfor Zlje_Value 0.00>\n");
// Enter on the settlement screen: records the document, and the next
// document's method picker opens.
const QString Record = QStringLiteral("<Enter><waitfor frmSelect>\n");
// The same when the cashier is told something first.
const QString RecordAndTell = QStringLiteral("<Enter><waitfor frmInfo>\n");
// Suspended whole: the picker cancelled, F7 puts everything on cash.
const QString Suspend = QStringLiteral("<Esc><waitfor frmFkjs><F7><waitfor Zlje_Value 0.00>\n");
// From the method picker of the next sale: leave the module.
const QString Leave = qiantai::test::LeaveFromPicker();

// The station of these tests: no pause after recording.
void Prepare(E2EStore& store)
{
    store.SetIni(QStringLiteral("Checkout"), QStringLiteral("RecordPause"), QStringLiteral("0"));
}

void UseTextReceipt(E2EStore& store, quint16 port)
{
    store.Exec(QStringLiteral("UPDATE tbSysmsg SET f_Csz = '1' WHERE lower(f_Csmc) = 'xsxpdyfs'"));
    store.SetIni(QStringLiteral("Printer"), QStringLiteral("OmronPrinter"),
                 QStringLiteral("tcp://127.0.0.1:%1").arg(port));
}

QString Month(E2EStore& store)
{
    const QList<QStringList> rows =
        store.Query(QStringLiteral("SELECT f_Value FROM tbHostInfo WHERE f_Key = 'dqny'"));
    return rows.isEmpty() ? QString() : rows.first().value(0);
}

// Header columns compared by the tests, amounts with two decimals.
QList<QStringList> Headers(E2EStore& store, const QString& table)
{
    return store.Query(
        QStringLiteral("SELECT f_Djh, f_Bmbm, f_Syybm, f_Yyybm, f_Xsfs, printf('%.2f', f_Xsje), "
                       "printf('%.2f', f_Djje), printf('%.2f', f_Xjje), f_Gqbz, f_Xsbz, f_Khxx "
                       "FROM tb%1_%2 ORDER BY f_Djh")
            .arg(Month(store), table));
}

QList<QStringList> Lines(E2EStore& store, const QString& table, const QString& djh)
{
    return store.Query(QStringLiteral("SELECT f_Spbm, printf('%.2f', f_Xssl), printf('%.2f', f_Xsje), "
                                      "printf('%.2f', f_Xxsj), printf('%.2f', f_Ssje) FROM tb%1_%2 "
                                      "WHERE f_Djh = '%3' ORDER BY f_Dnxh")
                           .arg(Month(store), table, djh));
}

QList<QStringList> Payments(E2EStore& store, const QString& table, const QString& djh)
{
    return store.Query(QStringLiteral("SELECT f_Zffs, printf('%.2f', f_Zfje), f_Hykh, f_Hyzh FROM tb%1_%2 "
                                      "WHERE f_Djh = '%3' ORDER BY f_Xh")
                           .arg(Month(store), table, djh));
}

// The text of a PDF as pdftotext extracts it, white space removed.
QString PdfText(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

QString Squeezed(QString s)
{
    return s.remove(QRegularExpression(QStringLiteral("\\s")));
}

// The bytes of one printed text receipt: initialisation and Chinese mode,
// the text with a line feed, four paper feeds, a full cut.
struct PrintedReceipt {
    bool framed = false;
    QStringList lines; // GBK-decoded, split at CR LF
};

PrintedReceipt ReadReceipt(const QByteArray& bytes)
{
    static const QByteArray Start("\x1b\x40\x1c\x26", 4);
    static const QByteArray End = QByteArray("\r\n") + QByteArray(5, '\n') + QByteArray("\x1d\x56\x00", 3);
    PrintedReceipt r;
    r.framed = bytes.startsWith(Start) && bytes.endsWith(End);
    if (!r.framed)
        return r;
    const QByteArray body = bytes.mid(Start.size(), bytes.size() - Start.size() - End.size());
    r.lines = FromGbk(body).split(QStringLiteral("\r\n"));
    return r;
}

// label + blanks + amount, ending in column 40.
QString AmountRow(const QString& label, const QString& amount)
{
    return label + QString(19 - amount.size(), QLatin1Char(' ')) + amount;
}

// Runs SQL on the store from a thread of its own when the key script has
// written a file: another till taking a lock, a customer paying in, while the
// checkout waits.
class Interlude {
public:
    struct Step {
        QString file; // written by a <dump FILE> step
        QString sql;
    };

    Interlude(QString database, QList<Step> steps) : database_(std::move(database)), steps_(std::move(steps))
    {
        thread_ = std::thread([this] { run(); });
    }
    ~Interlude()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    // Empty when every step ran.
    QString Error()
    {
        if (thread_.joinable())
            thread_.join();
        return error_;
    }

private:
    void run()
    {
        const QString name = QStringLiteral("interlude-") + QUuid::createUuid().toString(QUuid::Id128);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(database_);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            if (!db.open())
                error_ = db.lastError().text();
            for (const Step& step : steps_) {
                if (!error_.isEmpty())
                    break;
                const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
                while (!QFile::exists(step.file) && !stop_ && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (!QFile::exists(step.file)) {
                    error_ = QStringLiteral("no ") + step.file;
                    break;
                }
                QSqlQuery q(db);
                if (!q.exec(step.sql))
                    error_ = step.sql + QStringLiteral(": ") + q.lastError().text();
            }
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    QString database_;
    QList<Step> steps_;
    QString error_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A receipt printer that answers the start-up's connection and is then
// switched off: the connection closes and nothing listens any more. The
// sockets are not inherited by the host, which would keep the port open.
class SwitchedOffPrinter {
public:
    SwitchedOffPrinter()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] {
            pollfd pending{listener_, POLLIN, 0};
            if (::poll(&pending, 1, 10000) > 0) {
                const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                if (peer >= 0) {
                    accepted_ = true;
                    ::close(peer);
                }
            }
            ::close(listener_);
        });
    }
    ~SwitchedOffPrinter()
    {
        if (thread_.joinable())
            thread_.join();
    }

    quint16 port() const { return port_; }
    bool WasConnected()
    {
        if (thread_.joinable())
            thread_.join();
        return accepted_;
    }

private:
    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> accepted_{false};
    std::thread thread_;
};

QString Dump(E2EStore& store, const QString& name)
{
    return QStringLiteral("<dump %1>").arg(store.Path(name));
}

} // namespace

// Cash sales with the text receipt sent to a loopback printer.
TEST(CheckoutEndToEnd, CashSalesAreStoredAndPrintTheTextReceipt)
{
    struct Case {
        const char* name;
        Sale sale;
        const char* header; // monthly table suffixes
        const char* lines;
        const char* payments;
        QString method;      // printed sales method
        QStringList amounts; // due, paid, change, rebate, owed
        QStringList stored;  // f_Xsfs, f_Xsje, f_Djje, f_Xjje
        QList<QStringList> line;
        QList<QStringList> pay;
        QString screenPaid, screenChange; // "0001" total and change on the settlement screen
    };
    const Case cases[] = {
        {"store pickup paid 60 + 50 cash",
         {StorePickup,
          AmountLine(QStringLiteral("100")),
          {},
          {},
          {QStringLiteral("60"), QStringLiteral("50")}},
         "Xsmxzb",
         "xsmxcb",
         "Xszffs",
         QStringLiteral("门店自提"),
         {"100.00", "110.00", "10.00", "0.00", "0.00"},
         {"0", "100.00", "100.00", "100.00"},
         {{"100002", "1.00", "94.34", "5.66", "100.00"}},
         {{"0", "60.00", "", ""}, {"0", "50.00", "", ""}, {"-1", "10.00", "", ""}},
         QStringLiteral("110.00"),
         QStringLiteral("10.00")},
        {"store delivery with a deposit of 500",
         {StoreDelivery,
          QuantityLine(QStringLiteral("100001"), 1),
          QStringLiteral("500"),
          {},
          {QStringLiteral("500")}},
         "Yxsmxzb",
         "Yxsmxcb",
         "Yxszffs",
         QStringLiteral("门店送货"),
         {"500.00", "500.00", "0.00", "0.00", "2499.00"},
         {"1", "2999.00", "500.00", "500.00"},
         {{"100001", "1.00", "2563.25", "435.75", "2999.00"}},
         {{"0", "500.00", "", ""}, {"-1", "0.00", "", ""}},
         QStringLiteral("500.00"),
         QStringLiteral("0.00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E2EStore store;
        ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
        Prepare(store);
        LoopbackReceiver printer(LoopbackReceiver::Status{});
        UseTextReceipt(store, printer.port());
        const HostRun run =
            store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"),
                          SaleKeys(c.sale) + Dump(store, QStringLiteral("paid.txt")) + Record + Leave);
        EXPECT_EQ(run.status, 0) << run.output.toStdString();

        const ScreenDump paid = ScreenDump::Read(store.Path(QStringLiteral("paid.txt")));
        EXPECT_EQ(paid.Label(QStringLiteral("Yfje_Value")), c.amounts[0]);
        EXPECT_EQ(paid.Label(QStringLiteral("Value_0001")), c.screenPaid);
        EXPECT_EQ(paid.Label(QStringLiteral("Zlje_Value")), c.screenChange);

        const QList<QStringList> headers = Headers(store, QString::fromLatin1(c.header));
        ASSERT_EQ(headers.size(), 1);
        const QString djh = headers[0][0];
        const QString month = Month(store);
        EXPECT_EQ(djh, c.sale.method == StorePickup ? QStringLiteral("0000000001")
                                                    : month + QStringLiteral("000001"));
        EXPECT_EQ(headers[0].mid(1, 3), (QStringList{"0101", "0001", "1001"}));
        EXPECT_EQ(headers[0].mid(4, 4), c.stored);
        EXPECT_EQ(headers[0][8], QStringLiteral("0")); // not suspended
        EXPECT_EQ(Lines(store, QString::fromLatin1(c.lines), djh), c.line);
        EXPECT_EQ(Payments(store, QString::fromLatin1(c.payments), djh), c.pay);
        // The other kind of document table stays empty.
        EXPECT_TRUE(Headers(store, c.sale.method == StorePickup ? QStringLiteral("Yxsmxzb")
                                                                : QStringLiteral("Xsmxzb"))
                        .isEmpty());

        const PrintedReceipt receipt = ReadReceipt(printer.bytes());
        ASSERT_TRUE(receipt.framed);
        const QStringList& l = receipt.lines;
        ASSERT_EQ(l.size(), 21) << l.join(QLatin1Char('|')).toStdString();
        const QString title = QStringLiteral("电器连锁一号门店销货单");
        EXPECT_EQ(l[0], QString((40 - GbkWidth(title)) / 2, QLatin1Char(' ')) + title);
        EXPECT_EQ(
            l.mid(1, 9),
            (QStringList{"", QStringLiteral("销售单号：") + djh, QStringLiteral("销售方式：") + c.method, "",
                         QStringLiteral("商品编码：") + c.line[0][0],
                         QStringLiteral("商品名称：") + (c.sale.method == StorePickup
                                                             ? QStringLiteral("上门安装服务")
                                                             : QStringLiteral("液晶平板电视")),
                         QStringLiteral("销售数量：1.00"), QStringLiteral("销售金额：") + c.line[0][4], ""}));
        const QStringList labels = {
            QStringLiteral("            应收金额:"), QStringLiteral("实交金额:            "),
            QStringLiteral("            找零金额:"), QStringLiteral("返利金额:            "),
            QStringLiteral("            欠款金额:")};
        for (int i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(l[10 + i], AmountRow(labels[i], c.amounts[i]));
            EXPECT_EQ(GbkWidth(l[10 + i]), 40) << l[10 + i].toStdString();
        }
        const QString margin(24, QLatin1Char(' '));
        EXPECT_EQ(l.mid(15, 4), (QStringList{"", margin + QStringLiteral("仓库编码：  "),
                                             margin + QStringLiteral("营业员编码：1001"),
                                             margin + QStringLiteral("收银员编码：0001")}));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^ {21}\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                        .match(l[19])
                        .hasMatch())
            << l[19].toStdString();
        EXPECT_EQ(l[20], QStringLiteral("    多谢惠顾！欢迎再次光临！"));
    }
}

// Template receipts to a PDF file: the customer account and suspension.
TEST(CheckoutEndToEnd, AccountAndSuspendedSalesPrintTheTemplateReceipt)
{
    struct Case {
        const char* name;
        QStringList cash;
        QString keys; // after the cash, up to the settlement screen's Enter
        QString customerInfo;
        QStringList stored; // f_Xjje, f_Gqbz, f_Xsbz, f_Khxx
        QList<QStringList> pay;
        QStringList printed; // fragments of the PDF text
        QString credit;      // credit used on customer 000001's account
    };
    const Case cases[] = {
        {"40 cash, the rest on the customer's account",
         {QStringLiteral("40")},
         PayRestOnAccount,
         QStringLiteral("东城路8号"),
         {"40.00", "0", "", QStringLiteral("东城路8号")},
         {{"0", "40.00", "", ""}, {"7", "60.00", "000001", "000001"}, {"-1", "0.00", "", ""}},
         {QStringLiteral("应收金额:100.00"), QStringLiteral("现金:40.00"), QStringLiteral("消费:60.00"),
          QStringLiteral("找零金额:0.00"), QStringLiteral("客户信息:东城路8号")},
         QStringLiteral("60.00")},
        {"30 cash, the rest suspended with F7",
         {QStringLiteral("30")},
         Suspend,
         {},
         {"100.00", "1", QStringLiteral("统收单据XXXX"), ""},
         {{"0", "30.00", "", ""}, {"0", "70.00", "", ""}, {"-1", "0.00", "", ""}},
         {QStringLiteral("现金:100.00"), QStringLiteral("找零金额:0.00"), QStringLiteral("待统收")},
         QStringLiteral("0.00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E2EStore store;
        ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
        Prepare(store);
        const QString pdf = store.Path(QStringLiteral("receipt.pdf"));
        const Sale sale{StorePickup, AmountLine(QStringLiteral("100")), {}, c.customerInfo, c.cash};
        const HostRun run =
            store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"),
                          SaleKeys(sale) + c.keys + Dump(store, QStringLiteral("paid.txt")) + Record + Leave);
        EXPECT_EQ(run.status, 0) << run.output.toStdString();
        const ScreenDump paid = ScreenDump::Read(store.Path(QStringLiteral("paid.txt")));
        EXPECT_EQ(paid.Label(QStringLiteral("Fkje_Value")), QStringLiteral("100.00"));
        EXPECT_EQ(paid.Label(QStringLiteral("Zlje_Value")), QStringLiteral("0.00"));

        const QList<QStringList> headers = Headers(store, QStringLiteral("Xsmxzb"));
        ASSERT_EQ(headers.size(), 1);
        EXPECT_EQ(headers[0].mid(7), c.stored);
        EXPECT_EQ(Payments(store, QStringLiteral("Xszffs"), headers[0][0]), c.pay);

        const QString text = PdfText(pdf);
        ASSERT_FALSE(text.isEmpty()) << "no text in " << pdf.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("单号:0000000001"))) << text.toStdString();
        for (const QString& fragment : c.printed)
            EXPECT_TRUE(text.contains(Squeezed(fragment)))
                << fragment.toStdString() << " in " << text.toStdString();

        EXPECT_EQ(store.Query(QStringLiteral("SELECT printf('%.2f', f_Qcye), printf('%.2f', f_Sxje) FROM "
                                             "tb%1_mdkhwlyhj WHERE f_Khbm = '000001'")
                                  .arg(Month(store))),
                  (QList<QStringList>{{"10000.00", c.credit}}));
    }
}

// A checkout that collects a suspended sale and a suspended delivery sale of
// the day with F8 and F9.
TEST(CheckoutEndToEnd, UnifiedCollectionTakesTheSuspendedDocumentsOfTheDay)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    Prepare(store);
    const Sale pickup{StorePickup, AmountLine(QStringLiteral("100")), {}, {}, {}};
    const Sale delivery{
        StoreDelivery, QuantityLine(QStringLiteral("100001"), 1), QStringLiteral("500"), {}, {}};
    HostRun run =
        store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"),
                      SaleKeys(pickup) + Suspend + Record + SaleKeys(delivery) + Suspend + Record + Leave);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();
    const QString month = Month(store);
    const QString preSale = month + QStringLiteral("000001");
    ASSERT_EQ(Headers(store, QStringLiteral("Xsmxzb")).value(0).mid(7, 3),
              (QStringList{"100.00", "1", QStringLiteral("统收单据XXXX")}));
    ASSERT_EQ(Headers(store, QStringLiteral("Yxsmxzb")).value(0).mid(7, 3),
              (QStringList{"500.00", "1", QStringLiteral("统收单据XXXX")}));
    ASSERT_EQ(Headers(store, QStringLiteral("Yxsmxzb")).value(0).value(0), preSale);

    // 50 of its own; the sale typed twice and an unknown number count once
    // and not at all; then 700 cash for 650 due.
    const QString pdf = store.Path(QStringLiteral("collect.pdf"));
    store.SetIni(QStringLiteral("Report"), QStringLiteral("Output"), pdf);
    const Sale collector{StorePickup, AmountLine(QStringLiteral("50")), {}, {}, {}};
    const QString keys = SaleKeys(collector) +
                         QStringLiteral("<Esc><waitfor frmFkjs><F8><waitfor frmInputQuery>1,1,7<Enter>"
                                        "<waitfor Yfje_Value 150.00><F9><waitfor frmInputQuery>1<Enter>"
                                        "<waitfor Yfje_Value 650.00>\n") +
                         Dump(store, QStringLiteral("collected.txt")) +
                         QStringLiteral("<Enter><waitfor frmSelectZffs><Enter><waitfor frmFkje>700<Enter>"
                                        "<waitfor Fkje_Value 700.00>\n") +
                         Record + Leave;
    run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();

    const ScreenDump collected = ScreenDump::Read(store.Path(QStringLiteral("collected.txt")));
    EXPECT_EQ(collected.Label(QStringLiteral("Yfje_Value")), QStringLiteral("650.00"));

    const QList<QStringList> sales = Headers(store, QStringLiteral("Xsmxzb"));
    ASSERT_EQ(sales.size(), 2);
    const QString djh = sales[1][0];
    EXPECT_EQ(djh, QStringLiteral("0000000002"));
    EXPECT_EQ(sales[1].mid(5, 5), (QStringList{"50.00", "50.00", "50.00", "0", ""}));
    EXPECT_EQ(
        Payments(store, QStringLiteral("Xszffs"), djh),
        (QList<QStringList>{{"0", "700.00", "", ""}, {"-1", "50.00", "", ""}, {"0", "-600.00", "", ""}}));
    // Both collected documents now name the collecting one.
    EXPECT_EQ(sales[0][9], QStringLiteral("统收单据") + djh);
    EXPECT_EQ(Headers(store, QStringLiteral("Yxsmxzb")).value(0).value(9), QStringLiteral("统收单据") + djh);

    const QString text = PdfText(pdf);
    ASSERT_FALSE(text.isEmpty()) << "no text in " << pdf.toStdString();
    for (const QString& fragment : {QStringLiteral("应收金额:650.00"), QStringLiteral("找零金额:50.00"),
                                    QStringLiteral("统收单据:1,Y1 统收金额:600.00")})
        EXPECT_TRUE(text.contains(Squeezed(fragment)))
            << fragment.toStdString() << " in " << text.toStdString();
}

// A sale paid 30 of 100 at the counter and suspended with F7: the central
// desk collects the 70 still owed, not the stored cash amount of 100.
TEST(CheckoutEndToEnd, PartlyPaidSuspendedSaleIsCollectedForWhatItStillOwes)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    Prepare(store);
    const Sale counter{StorePickup, AmountLine(QStringLiteral("100")), {}, {}, {QStringLiteral("30")}};
    HostRun run =
        store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"),
                      SaleKeys(counter) + QStringLiteral("<Esc><wait 100><F7><wait 100>\n") + Record + Leave);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();
    ASSERT_EQ(Headers(store, QStringLiteral("Xsmxzb")).value(0).mid(7, 3),
              (QStringList{"100.00", "1", QStringLiteral("统收单据XXXX")}));

    // 50 of its own and the 70 owed, paid with the remaining amount in cash.
    const Sale desk{StorePickup, AmountLine(QStringLiteral("50")), {}, {}, {}};
    run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"),
                        SaleKeys(desk) + QStringLiteral("<Esc><wait 100><F8><wait 150>1<Enter><wait 150>\n") +
                            Dump(store, QStringLiteral("collected.txt")) +
                            QStringLiteral("<Enter><wait 150><Enter><wait 100><Enter><wait 150>\n") + Record +
                            Leave);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();
    EXPECT_EQ(
        ScreenDump::Read(store.Path(QStringLiteral("collected.txt"))).Label(QStringLiteral("Yfje_Value")),
        QStringLiteral("120.00"));
    const QList<QStringList> sales = Headers(store, QStringLiteral("Xsmxzb"));
    ASSERT_EQ(sales.size(), 2);
    EXPECT_EQ(Payments(store, QStringLiteral("Xszffs"), sales[1][0]),
              (QList<QStringList>{{"0", "120.00", "", ""}, {"-1", "0.00", "", ""}, {"0", "-70.00", "", ""}}));
    EXPECT_EQ(sales[0][9], QStringLiteral("统收单据") + sales[1][0]);
}

// The printer goes off after start-up: the sale is stored once, the cashier
// is told the receipt did not print, and the next sale begins.
TEST(CheckoutEndToEnd, PrinterOffAfterStorageCompletesTheCheckoutOnce)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    Prepare(store);
    SwitchedOffPrinter printer;
    UseTextReceipt(store, printer.port());
    const Sale sale{StorePickup, AmountLine(QStringLiteral("100")), {}, {}, {QStringLiteral("100")}};
    const HostRun run = store.RunHost(
        QStringLiteral("0001"), QStringLiteral("0001"),
        SaleKeys(sale) + RecordAndTell + Dump(store, QStringLiteral("told.txt")) +
            QStringLiteral("<Esc><waitfor frmSelect>") + Dump(store, QStringLiteral("next.txt")) + Leave);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();
    EXPECT_TRUE(printer.WasConnected());

    const ScreenDump told = ScreenDump::Read(store.Path(QStringLiteral("told.txt")));
    EXPECT_TRUE(
        told.Label(QStringLiteral("message")).contains(QStringLiteral("销售数据已保存，小票未能打印!")))
        << told.Label(QStringLiteral("message")).toStdString();
    // The method picker of the next document.
    const ScreenDump next = ScreenDump::Read(store.Path(QStringLiteral("next.txt")));
    EXPECT_FALSE(next.Label(QStringLiteral("choice")).isEmpty());
    EXPECT_TRUE(next.Label(QStringLiteral("Yfje_Value")).isEmpty());

    const QList<QStringList> headers = Headers(store, QStringLiteral("Xsmxzb"));
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(Payments(store, QStringLiteral("Xszffs"), headers[0][0]).size(), 2);
}

// A printer out of paper says so before the receipt: the cashier reads what
// to do and is asked to print again; the sale is stored once.
TEST(CheckoutEndToEnd, PaperOutIsToldAndTheSaleStoredOnce)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    Prepare(store);
    LoopbackReceiver printer(LoopbackReceiver::Status{0x12, 0x12, LoopbackReceiver::PaperOut});
    UseTextReceipt(store, printer.port());
    const Sale sale{StorePickup, AmountLine(QStringLiteral("100")), {}, {}, {QStringLiteral("100")}};
    const HostRun run = store.RunHost(
        QStringLiteral("0001"), QStringLiteral("0001"),
        SaleKeys(sale) + RecordAndTell + Dump(store, QStringLiteral("told.txt")) +
            QStringLiteral("<Enter><waitfor frmInfo>") + Dump(store, QStringLiteral("again.txt")) +
            QStringLiteral("<Esc><waitfor frmSelect>") + Leave);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();

    for (const char* dump : {"told.txt", "again.txt"}) {
        const QString message =
            ScreenDump::Read(store.Path(QString::fromLatin1(dump))).Label(QStringLiteral("message"));
        EXPECT_TRUE(message.contains(QStringLiteral("打印机缺纸，请装好小票纸后重新打印！")) &&
                    message.contains(QStringLiteral("按回车键重新打印")))
            << dump << ": " << message.toStdString();
    }
    // Nothing of the receipt reached the printer, and it was asked twice.
    EXPECT_EQ(printer.bytes().toHex(' '), QByteArray("\x1b\x40\x1c\x26", 4).toHex(' '));
    EXPECT_EQ(printer.statusRequests(), 2 * 3);
    EXPECT_EQ(Headers(store, QStringLiteral("Xsmxzb")).size(), 1);
}

// Recording fails, the cause goes away, Enter again stores one document.
TEST(CheckoutEndToEnd, EnterAfterARecordingFailureStoresOneDocument)
{
    struct Case {
        const char* name;
        QString payment; // after SaleKeys
        QString before;  // SQL before the run; %1 is the month
        QString atReady, atFailed;
        QString message; // part of what the cashier is told
        QList<QStringList> pay;
        QString credit; // credit used on customer 000001's account afterwards
    };
    const Case cases[] = {
        // Another till holds the database's write lock until the failure.
        {"database locked",
         QStringLiteral("<Enter><waitfor frmFkje>100<Enter><waitfor Fkje_Value 100.00>\n"),
         {},
         QStringLiteral("BEGIN IMMEDIATE"),
         QStringLiteral("ROLLBACK"),
         QStringLiteral("数据库正忙"),
         {{"0", "100.00", "", ""}, {"-1", "0.00", "", ""}},
         QStringLiteral("0.00")},
        // The customer's credit is used up; the customer pays in meanwhile.
        {"customer account refused",
         PayRestOnAccount,
         QStringLiteral("UPDATE tb%1_mdkhwlyhj SET f_Sxje = 9950 WHERE f_Khbm = '000001'"),
         QStringLiteral("SELECT 1"),
         QStringLiteral("UPDATE tb%1_mdkhwlyhj SET f_Skje = f_Skje + 100 WHERE f_Khbm = '000001'"),
         QStringLiteral("余额不足"),
         {{"7", "100.00", "000001", "000001"}, {"-1", "0.00", "", ""}},
         QStringLiteral("10050.00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        E2EStore store;
        ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
        Prepare(store);
        const QString month = Month(store);
        const auto inMonth = [&month](const QString& sql) {
            return sql.contains(QLatin1String("%1")) ? sql.arg(month) : sql;
        };
        if (!c.before.isEmpty())
            store.Exec(inMonth(c.before));
        const QString stockSql = QStringLiteral("SELECT printf('%.2f', COALESCE(SUM(f_Kcsl), 0)) FROM tbGzkc "
                                                "WHERE f_Gzbm = '0101' AND f_Spbm = '100002'");
        const double stockBefore = store.Query(stockSql).value(0).value(0).toDouble();
        const QString ready = store.Path(QStringLiteral("ready.txt"));
        const QString failed = store.Path(QStringLiteral("failed.txt"));
        Interlude other(store.StoreFile(), {{ready, inMonth(c.atReady)}, {failed, inMonth(c.atFailed)}});
        const Sale sale{StorePickup, AmountLine(QStringLiteral("100")), {}, {}, {}};
        // The fixed waits give the other till the time to run its statement
        // once the dump before them is written; the screen does not show it.
        const QString keys = SaleKeys(sale) + c.payment + QStringLiteral("<dump %1><wait 500>").arg(ready) +
                             QStringLiteral("<Enter><waitfor frmInfo><dump %1><wait 1000>").arg(failed) +
                             // The message closed, the settlement screen again, Enter.
                             QStringLiteral("<Enter><waitfor frmFkjs>") +
                             Dump(store, QStringLiteral("again.txt")) + Record + Leave;
        const HostRun run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
        EXPECT_EQ(run.status, 0) << run.output.toStdString();
        const QString interlude = other.Error();
        EXPECT_TRUE(interlude.isEmpty()) << interlude.toStdString();

        const ScreenDump told = ScreenDump::Read(failed);
        EXPECT_TRUE(told.Label(QStringLiteral("message")).contains(c.message))
            << told.Label(QStringLiteral("message")).toStdString();
        const ScreenDump again = ScreenDump::Read(store.Path(QStringLiteral("again.txt")));
        EXPECT_EQ(again.Label(QStringLiteral("Fkje_Value")), QStringLiteral("100.00"));

        const QList<QStringList> headers = Headers(store, QStringLiteral("Xsmxzb"));
        ASSERT_EQ(headers.size(), 1);
        EXPECT_EQ(Payments(store, QStringLiteral("Xszffs"), headers[0][0]), c.pay);
        EXPECT_EQ(Lines(store, QStringLiteral("xsmxcb"), headers[0][0]).size(), 1);
        // Stock and the customer's account are booked once.
        EXPECT_EQ(store.Query(stockSql).value(0).value(0), QString::number(stockBefore - 1, 'f', 2));
        EXPECT_EQ(
            store.Query(QStringLiteral("SELECT printf('%.2f', f_Sxje) FROM tb%1_mdkhwlyhj WHERE f_Khbm = "
                                       "'000001'")
                            .arg(month)),
            (QList<QStringList>{{c.credit}}));
    }
}
