// Card payments through qiantai-host, the card front-end qiantai-cardd and
// the card-terminal simulator libsldll.so, all on loopback: what the store
// recorded, what the card server charged and what the terminal saw agree.
#include "e2estore.h"
#include "salekeys.h"

#include <QDate>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using qiantai::test::E2EStore;
using qiantai::test::HostRun;
using qiantai::test::ScreenDump;

namespace {

// The fixed <wait N> left follow a dialog that has closed over the sales
// screen: the screen takes the keyboard back once its window is active again,
// which no widget shows.

// One 电热水壶 at 219.00 as the document's only line: code, quantity, price,
// amount.
const char* const OneKettle =
    "100004<Enter><waitfor edtBm 100004><Enter><Enter><Enter><waitfor lblje 219.00>\n";
// F1, the customer information kept: the settlement screen opens its picker.
const char* const OpenSettlement = "<F1><waitfor frmKhxx><Enter><waitfor frmSelectZffs>\n";
// Enter on the covered settlement screen records and the next document's
// sales method picker opens.
const char* const RecordSale = "<Enter><waitfor frmSelect>\n";
// ... which is left with Esc and the exit question answered yes.
const char* const RecordAndLeave = "<Enter><waitfor frmSelect><Esc><waitfor frmInfo><Enter>\n";
// Leaves a sales screen without lines, or the method picker.
const char* const Leave = "<Esc><waitfor frmInfo><Enter>\n";
// The member card shown on the sales screen once it is identified.
const char* const CardShown = "<waitfor edtHy 卡号:8800000001 积分:1200><wait 200>\n";

const QString ApprovedCard = QStringLiteral("6222020000000001");
const QString DeclinedCard = QStringLiteral("6222020000000005");

// A keyboard-wedge swipe of a bank card: track 2 with its separators.
QString Swipe(const QString& cardNo)
{
    return QStringLiteral(";%1=25121010000?").arg(cardNo);
}

// Picker entry `n`, then the amount entry with the rest that is due.
QString PayAmount(int n, const QString& amount)
{
    return QStringLiteral("%1<Enter><waitfor frmFkje>%2<Enter><waitfor Zlje_Value 0.00>\n")
        .arg(n)
        .arg(amount);
}

// Picker entry 4, the bank card: the amount, the swipe, the terminal's
// confirmation, then the message `told`.
QString PayByBankCard(const QString& cardNo, const QString& told)
{
    return QStringLiteral(
               "4<Enter><waitfor frmXykzf><Enter><waitfor frameHeading 信用卡支付 请刷卡...>%1<Enter>"
               "<waitfor frameHeading 信用卡支付 请输密码...><Enter><waitfor message %2>\n")
        .arg(Swipe(cardNo), told);
}

QString Dump(const QString& file)
{
    return QStringLiteral("<dump %1>\n").arg(file);
}

// The text of the information box in a dump.
QString Message(const ScreenDump& d)
{
    return d.Label(QStringLiteral("message"));
}

class CardsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        store_ = std::make_unique<E2EStore>();
        ASSERT_TRUE(store_->Ok()) << store_->Error().toStdString();
        ASSERT_TRUE(store_->StartCardServer()) << store_->Error().toStdString();
        store_->SetIni(QStringLiteral("Checkout"), QStringLiteral("RecordPause"), QStringLiteral("0"));
        // The simulator reads its configuration from the environment the
        // host inherits.
        QFile config(store_->Path(QStringLiteral("cardterm.json")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("{\"declinedCards\": [\"%1\"], \"logFile\": \"%2\"}")
                         .arg(DeclinedCard, TerminalLog())
                         .toUtf8());
        config.close();
        qputenv("QIANTAI_CARDTERM_CONFIG", config.fileName().toUtf8());
    }
    void TearDown() override { qunsetenv("QIANTAI_CARDTERM_CONFIG"); }

    E2EStore& store() { return *store_; }
    QString Path(const QString& name) const { return store_->Path(name); }
    QString TerminalLog() const { return store_->Path(QStringLiteral("cardterm.log")); }

    HostRun Cashier(const QString& keys)
    {
        return store_->RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
    }

    void SetParameter(const QString& name, const QString& value)
    {
        store_->Exec(QStringLiteral("UPDATE tbSysmsg SET f_Csz = '%1' WHERE lower(f_Csmc) = '%2'")
                         .arg(value, name.toLower()));
    }

    // The host's accounting month, e.g. "202612".
    QString Month()
    {
        const QList<QStringList> rows =
            store_->Query(QStringLiteral("SELECT f_Value FROM tbHostInfo WHERE f_Key = 'dqny'"));
        return rows.isEmpty() ? QString() : rows[0][0];
    }

    // The numbers of the month's recorded sales, in order.
    QStringList Documents()
    {
        QStringList numbers;
        for (const QStringList& r :
             store_->Query(QStringLiteral("SELECT f_Djh FROM tb%1_Xsmxzb ORDER BY f_Djh").arg(Month())))
            numbers << r[0];
        return numbers;
    }

    // Payment rows of a document: type, amount (0.00), card, account.
    QList<QStringList> Payments(const QString& djh)
    {
        return store_->Query(QStringLiteral("SELECT f_Zffs, printf('%.2f', f_Zfje), f_Hykh, f_Hyzh FROM "
                                            "tb%1_Xszffs WHERE f_Djh = '%2' ORDER BY f_Xh")
                                 .arg(Month(), djh));
    }

    QList<QStringList> Journal()
    {
        return store_->QueryCards(QStringLiteral(
            "SELECT card_type, card_no, document_no, unit_code, amount_fen, cashier_code FROM card_journal "
            "ORDER BY id"));
    }

    QString BalanceFen(const QString& cardNo)
    {
        const QList<QStringList> rows = store_->QueryCards(
            QStringLiteral("SELECT balance_fen FROM member_card WHERE card_no = '%1'").arg(cardNo));
        return rows.isEmpty() ? QString() : rows[0][0];
    }

    // Consumption records at the host: serial, type, unit, document, code,
    // card, amount.
    QList<QStringList> Consumptions()
    {
        return store_->Query(QStringLiteral(
            "SELECT f_Lsh, f_Klx, f_Bmbm, f_Djh, f_Jydm, f_Khxx, f_Jyje FROM tbKxfls ORDER BY f_Lsh"));
    }

    QStringList TerminalLines()
    {
        QFile f(TerminalLog());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    std::unique_ptr<E2EStore> store_;
};

TEST_F(CardsEndToEnd, MemberCardAndCashPayASale)
{
    const QString amountEntry = Path(QStringLiteral("amount.txt"));
    const QString settled = Path(QStringLiteral("settled.txt"));
    const QString keys =
        qiantai::test::BeginSale() + QString::fromUtf8(OneKettle) + QString::fromUtf8(OpenSettlement) +
        // Member card: swipe, password, then the amount entry
        // with the card's balance.
        QStringLiteral("5<Enter><waitfor frmHykzf>8800000001<Enter>123456<Enter><waitfor frmFkje>\n") +
        Dump(amountEntry) + QStringLiteral("200<Enter><waitfor Value_0005 200.00><waitfor frmSelectZffs>\n") +
        PayAmount(1, QStringLiteral("19")) + Dump(settled) + QString::fromUtf8(RecordAndLeave);
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    const ScreenDump settlement = ScreenDump::Read(settled);
    ASSERT_FALSE(settlement.IsEmpty());
    EXPECT_EQ(settlement.Label(QStringLiteral("Value_0005")), QStringLiteral("200.00"));
    EXPECT_EQ(settlement.Label(QStringLiteral("Value_0001")), QStringLiteral("19.00"));
    EXPECT_EQ(settlement.Label(QStringLiteral("Fkje_Value")), QStringLiteral("219.00"));
    EXPECT_EQ(settlement.Label(QStringLiteral("Zlje_Value")), QStringLiteral("0.00"));

    const QStringList documents = Documents();
    ASSERT_EQ(documents.size(), 1);
    const QString djh = documents[0];
    EXPECT_EQ(Payments(djh), (QList<QStringList>{{"6", "200.00", "8800000001", "M00000001"},
                                                 {"0", "19.00", "", ""},
                                                 {"-1", "0.00", "", ""}}));
    // Charged once, for this document and counter group, by this cashier.
    EXPECT_EQ(Journal(), (QList<QStringList>{{"0", "8800000001", djh, "0101", "20000", "0001"}}));
    EXPECT_EQ(BalanceFen(QStringLiteral("8800000001")), QStringLiteral("30000"));
    EXPECT_TRUE(Consumptions().isEmpty());

    // Closing the day: the report shows what was typed, and the card
    // server's journal of the day agrees with the store.
    const QString frontEnd =
        store()
            .Query(QStringLiteral("SELECT f_Csz FROM tbSysmsg WHERE lower(f_Csmc) = 'yckqzj'"))
            .value(0)
            .value(0);
    const HostRun report =
        store().RunCommand({QStringLiteral("report"), QStringLiteral("--day"),
                            QDate::currentDate().toString(QStringLiteral("yyyyMMdd")), QStringLiteral("--db"),
                            store().StoreFile(), QStringLiteral("--format"), QStringLiteral("csv"),
                            QStringLiteral("--cards"), QStringLiteral("http://") + frontEnd});
    ASSERT_EQ(report.status, 0) << report.output.toStdString();
    // The CSV lines, without the log lines that come before them.
    QStringList lines;
    for (const QString& l : report.output.split(QStringLiteral("\r\n")))
        lines.append(l.section(QLatin1Char('\n'), -1));
    const auto line = [&](const QString& start) {
        const auto found =
            std::find_if(lines.cbegin(), lines.cend(), [&](const QString& l) { return l.startsWith(start); });
        return found == lines.cend() ? QStringList() : found->split(QLatin1Char(','));
    };
    const QStringList header = line(QStringLiteral("收银员编码,"));
    const QStringList cashier = line(QStringLiteral("0001,"));
    ASSERT_FALSE(cashier.isEmpty()) << report.output.toStdString();
    const struct {
        const char* column;
        const char* value;
    } figures[] = {{"单据数", "1"},    {"销售金额", "219.00"}, {"现金", "19.00"},    {"会员卡", "200.00"},
                   {"福利证", "0.00"}, {"找零", "0.00"},       {"应交现金", "19.00"}};
    for (const auto& f : figures)
        EXPECT_EQ(cashier.value(int(header.indexOf(QString::fromUtf8(f.column)))), QString::fromUtf8(f.value))
            << f.column;
    // The reconciliation ran and found nothing.
    EXPECT_FALSE(line(QStringLiteral("对账差异,单据号,")).isEmpty()) << report.output.toStdString();
    for (const char* difference : {"仅门店有", "仅卡前置机有", "金额不符", "已冲正但门店已记账"})
        EXPECT_TRUE(line(QString::fromUtf8(difference)).isEmpty()) << report.output.toStdString();
}

TEST_F(CardsEndToEnd, UnreachableFrontEndLeavesTheMemberCardScreenForAnotherMethod)
{
    // A loopback port that nothing listens on.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    SetParameter(QStringLiteral("yckqzj"), QStringLiteral("127.0.0.1:%1").arg(closedPort));
    const QString failed = Path(QStringLiteral("failed.txt"));
    const QString keys =
        qiantai::test::BeginSale() + QString::fromUtf8(OneKettle) + QString::fromUtf8(OpenSettlement) +
        QStringLiteral("5<Enter><waitfor frmHykzf>8800000001<Enter>123456<Enter><waitfor frmInfo>\n") +
        Dump(failed) +
        // The member card screen waits for another swipe; Esc
        // goes back to the picker.
        QStringLiteral("<Enter><waitfor frmHykzf><Esc><waitfor frmSelectZffs>\n") +
        PayAmount(1, QStringLiteral("219")) + QString::fromUtf8(RecordAndLeave);
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    const QString message = Message(ScreenDump::Read(failed));
    EXPECT_TRUE(message.startsWith(QStringLiteral("远程卡前置机连接失败:"))) << message.toStdString();
    EXPECT_GT(message.size(), QStringLiteral("远程卡前置机连接失败:").size());
    const QStringList documents = Documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(Payments(documents[0]), (QList<QStringList>{{"0", "219.00", "", ""}, {"-1", "0.00", "", ""}}));
    EXPECT_TRUE(Journal().isEmpty());
}

TEST_F(CardsEndToEnd, TwoWelfareCertificatesAndCashPayASale)
{
    const QString refused = Path(QStringLiteral("refused.txt"));
    const QString waiting = Path(QStringLiteral("waiting.txt"));
    const QString back = Path(QStringLiteral("back.txt"));
    const QString keys =
        qiantai::test::BeginSale() + QString::fromUtf8(OneKettle) + QString::fromUtf8(OpenSettlement) +
        QStringLiteral("6<Enter><waitfor frmFlzzf>7700000001<Enter>"
                       "<waitfor Label1 券累计支付金额:50.00>\n") +
        // The same certificate again is refused by the front-end.
        QStringLiteral("7700000001<Enter><waitfor message 福利证已使用>\n") + Dump(refused) +
        QStringLiteral("<Enter><waitfor frmFlzzf>\n") +
        QStringLiteral("7700000002<Enter><waitfor Label1 券累计支付金额:100.00>\n") + Dump(waiting) +
        // 119.00 is still unpaid: the screen asks for another; Esc leaves it.
        QStringLiteral("<Esc><waitfor frmSelectZffs><waitfor Fkje_Value 100.00>\n") + Dump(back) +
        PayAmount(1, QStringLiteral("119")) + QString::fromUtf8(RecordAndLeave);
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    EXPECT_EQ(Message(ScreenDump::Read(refused)), QStringLiteral("福利证已使用"));
    const ScreenDump another = ScreenDump::Read(waiting);
    EXPECT_EQ(another.Label(QStringLiteral("Label1")), QStringLiteral("券累计支付金额:100.00"));
    EXPECT_TRUE(another.Edit(QStringLiteral("edtQh")).isEmpty());
    const ScreenDump settlement = ScreenDump::Read(back);
    EXPECT_EQ(settlement.Label(QStringLiteral("Value_0006")), QStringLiteral("100.00"));
    EXPECT_EQ(settlement.Label(QStringLiteral("Fkje_Value")), QStringLiteral("100.00"));

    const QStringList documents = Documents();
    ASSERT_EQ(documents.size(), 1);
    const QString djh = documents[0];
    EXPECT_EQ(Payments(djh), (QList<QStringList>{{"8", "50.00", "", ""},
                                                 {"8", "50.00", "", ""},
                                                 {"0", "119.00", "", ""},
                                                 {"-1", "0.00", "", ""}}));
    // Each certificate used once, by this document.
    EXPECT_EQ(Journal(), (QList<QStringList>{{"1", "7700000001", djh, "0101", "5000", "0001"},
                                             {"1", "7700000002", djh, "0101", "5000", "0001"}}));
    EXPECT_EQ(store().QueryCards(QStringLiteral("SELECT certificate_no, state, used_document_no FROM "
                                                "welfare_certificate WHERE state <> 'unused' ORDER BY 1")),
              (QList<QStringList>{
                  {"7700000001", "used", djh}, {"7700000002", "used", djh}, {"7700000004", "void", ""}}));
    // One consumption record per certificate at the host, in fen.
    const QList<QStringList> records = Consumptions();
    ASSERT_EQ(records.size(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].mid(1),
                  (QStringList{"3", "0101", djh, "PCA", QStringLiteral("770000000%1").arg(i + 1), "5000"}));
    }
}

TEST_F(CardsEndToEnd, BankCardDeclinedThenApproved)
{
    SetParameter(QStringLiteral("XYKLX"), QStringLiteral("1"));
    const QString amountShown = Path(QStringLiteral("amount.txt"));
    const QString declined = Path(QStringLiteral("declined.txt"));
    const QString approved = Path(QStringLiteral("approved.txt"));
    const QString keys =
        qiantai::test::BeginSale() + QString::fromUtf8(OneKettle) + QString::fromUtf8(OpenSettlement) +
        // The amount is preset to what is due.
        QStringLiteral("4<Enter><waitfor edtJe 219.00>\n") + Dump(amountShown) +
        QStringLiteral(
            "<Enter><waitfor frameHeading 信用卡支付 请刷卡...>%1<Enter>"
            "<waitfor frameHeading 信用卡支付 请输密码...><Enter><waitfor message 交易失败，错误码D00005>\n")
            .arg(Swipe(DeclinedCard)) +
        Dump(declined) + QStringLiteral("<Enter><waitfor frmSelectZffs>\n") +
        // Back at the picker: the second card pays the whole amount.
        PayByBankCard(ApprovedCard, QStringLiteral("交易成功")) + Dump(approved) +
        QStringLiteral("<Enter><waitfor Zlje_Value 0.00>\n") + QString::fromUtf8(RecordAndLeave);
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    EXPECT_EQ(ScreenDump::Read(amountShown).Edit(QStringLiteral("edtJe")), QStringLiteral("219.00"));
    EXPECT_EQ(Message(ScreenDump::Read(declined)), QStringLiteral("交易失败，错误码D00005"));
    EXPECT_EQ(Message(ScreenDump::Read(approved)), QStringLiteral("交易成功"));

    const QStringList documents = Documents();
    ASSERT_EQ(documents.size(), 1);
    const QString djh = documents[0];
    // The refusal took no payment.
    EXPECT_EQ(Payments(djh), (QList<QStringList>{{"5", "219.00", "", ""}, {"-1", "0.00", "", ""}}));

    // Both transactions are recorded with the sale, each with its
    // consumption serial from the host.
    const QList<QStringList> cards = store().Query(
        QStringLiteral("SELECT f_Bmbm, f_Jydm, f_Khxx, f_Jyje, f_Poslsh, length(f_3gxx), length(f_2gxx), "
                       "length(f_Jysk), length(f_Jyrq) FROM tb%1_Xykmx WHERE f_Djh = '%2' ORDER BY f_Xh")
            .arg(Month(), djh));
    ASSERT_EQ(cards.size(), 2);
    EXPECT_EQ(cards[0].mid(0, 4), (QStringList{"01", "D05", "************0005", "0"}));
    EXPECT_EQ(cards[0].mid(5), (QStringList{"0", "0", "6", "4"}));
    EXPECT_EQ(cards[1].mid(0, 4), (QStringList{"01", "PCA", "************0001", "21900"}));
    EXPECT_EQ(cards[1].mid(5), (QStringList{"6", "12", "6", "4"}));

    const QList<QStringList> records = Consumptions();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0], (QStringList{cards[0][4], "2", "01", djh, "D05", "************0005", "0"}));
    EXPECT_EQ(records[1], (QStringList{cards[1][4], "2", "01", djh, "PCA", "************0001", "21900"}));
    EXPECT_NE(cards[0][4], cards[1][4]);

    // The terminal saw each card once, with the amount in fen.
    const QStringList lines = TerminalLines();
    ASSERT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("card ************0005 amount(fen) 21900 cashier 0001 -> D00005"));
    EXPECT_EQ(lines[1], QStringLiteral("card ************0001 amount(fen) 21900 cashier 0001 -> 000000"));
    // Nothing reached the card front-end.
    EXPECT_TRUE(Journal().isEmpty());
}

TEST_F(CardsEndToEnd, MissingTerminalLibraryRecordsNoTransaction)
{
    SetParameter(QStringLiteral("XYKLX"), QStringLiteral("1"));
    const QString missing = Path(QStringLiteral("no-such-terminal.so"));
    store().SetIni(QStringLiteral("CardTerminal"), QStringLiteral("Library"), missing);
    const QString failed = Path(QStringLiteral("failed.txt"));
    const QString keys =
        qiantai::test::BeginSale() + QString::fromUtf8(OneKettle) + QString::fromUtf8(OpenSettlement) +
        QStringLiteral("4<Enter><waitfor frmXykzf><Enter><waitfor frameHeading 信用卡支付 请刷卡...>%1<Enter>"
                       "<waitfor frameHeading 信用卡支付 请输密码...><Enter><waitfor frmInfo>\n")
            .arg(Swipe(ApprovedCard)) +
        Dump(failed) + QStringLiteral("<Enter><waitfor frmSelectZffs>\n") +
        PayAmount(1, QStringLiteral("219")) + QString::fromUtf8(RecordAndLeave);
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    const QString message = Message(ScreenDump::Read(failed));
    EXPECT_TRUE(message.startsWith(QStringLiteral("无法加载卡终端库 ") + missing)) << message.toStdString();
    const QStringList documents = Documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(Payments(documents[0]), (QList<QStringList>{{"0", "219.00", "", ""}, {"-1", "0.00", "", ""}}));
    EXPECT_TRUE(store().Query(QStringLiteral("SELECT * FROM tb%1_Xykmx").arg(Month())).isEmpty());
    EXPECT_TRUE(Consumptions().isEmpty());
}

TEST_F(CardsEndToEnd, BalanceQueryFromSystemToolsShowsCardAfterCard)
{
    const QString first = Path(QStringLiteral("first.txt"));
    const QString second = Path(QStringLiteral("second.txt"));
    const QString back = Path(QStringLiteral("back.txt"));
    const QString keys =
        qiantai::test::BeginSale() +
        QStringLiteral("<F10><waitfor frmSysTool>2<Enter><waitfor frmHykzf>\n"
                       "8800000001<Enter>123456<Enter><waitfor message 卡号:8800000001 余额:500.00>\n") +
        Dump(first) +
        QStringLiteral("<Enter><waitfor frmHykzf>8800000002<Enter>654321<Enter>"
                       "<waitfor message 卡号:8800000002 余额:100.00>\n") +
        Dump(second) + QStringLiteral("<Enter><waitfor frmHykzf><Esc><wait 300>\n") +
        // The keys go to the sales screen again.
        QString::fromUtf8(OneKettle) + Dump(back) + qiantai::test::DeleteAllAndLeave();
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    EXPECT_EQ(Message(ScreenDump::Read(first)), QStringLiteral("卡号:8800000001 余额:500.00"));
    EXPECT_EQ(Message(ScreenDump::Read(second)), QStringLiteral("卡号:8800000002 余额:100.00"));
    const ScreenDump sales = ScreenDump::Read(back);
    const QList<QStringList> rows = sales.Rows(QStringLiteral("sgdGrid"));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows[0].value(0), QStringLiteral("100004"));
    // A query identifies no member and charges nothing.
    EXPECT_TRUE(sales.Edit(QStringLiteral("edtHy")).isEmpty());
    EXPECT_TRUE(Journal().isEmpty());
    EXPECT_EQ(BalanceFen(QStringLiteral("8800000001")), QStringLiteral("50000"));
}

TEST_F(CardsEndToEnd, MemberCardFromSystemToolsIsShownAndRecordedWithTheSale)
{
    const QString wrong = Path(QStringLiteral("wrong.txt"));
    const QString identified = Path(QStringLiteral("identified.txt"));
    const QString next = Path(QStringLiteral("next.txt"));
    const QString keys =
        qiantai::test::BeginSale() +
        QStringLiteral("<F10><waitfor frmSysTool>1<Enter><waitfor frmUseHyk>\n"
                       "8800000001<Enter>000000<Enter><waitfor message 会员卡号或密码错误>\n") +
        Dump(wrong) +
        // F2 clears both fields for the next swipe.
        QStringLiteral("<Enter><waitfor frmUseHyk><F2>8800000001<Enter>123456<Enter>") +
        QString::fromUtf8(CardShown) + Dump(identified) + QString::fromUtf8(OneKettle) +
        QString::fromUtf8(OpenSettlement) + PayAmount(1, QStringLiteral("219")) +
        QString::fromUtf8(RecordSale) + Dump(next) + QString::fromUtf8(Leave);
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    EXPECT_EQ(Message(ScreenDump::Read(wrong)), QStringLiteral("会员卡号或密码错误"));
    EXPECT_EQ(ScreenDump::Read(identified).Edit(QStringLiteral("edtHy")),
              QStringLiteral("卡号:8800000001 积分:1200"));
    // The next customer's document starts without the card's line.
    const ScreenDump nextSale = ScreenDump::Read(next);
    ASSERT_FALSE(nextSale.IsEmpty());
    EXPECT_EQ(nextSale.Edit(QStringLiteral("edtHy")), QString());

    const QStringList documents = Documents();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_EQ(store().Query(QStringLiteral("SELECT f_Hykh, f_Hyzh FROM tb%1_Xsmxzb").arg(Month())),
              (QList<QStringList>{{"8800000001", "M00000001"}}));
    EXPECT_EQ(Payments(documents[0]), (QList<QStringList>{{"0", "219.00", "", ""}, {"-1", "0.00", "", ""}}));
    EXPECT_TRUE(Journal().isEmpty());
    EXPECT_EQ(BalanceFen(QStringLiteral("8800000001")), QStringLiteral("50000"));
}

TEST_F(CardsEndToEnd, NetworkModeAsksForTheMemberCardAtTheStartOfEachSale)
{
    SetParameter(QStringLiteral("hyklwms"), QStringLiteral("1"));
    const QString identified = Path(QStringLiteral("identified.txt"));
    const QString second = Path(QStringLiteral("second.txt"));
    const QString sale = QString::fromUtf8(OneKettle) + QString::fromUtf8(OpenSettlement) +
                         PayAmount(1, QStringLiteral("219")) + QString::fromUtf8(RecordSale);
    const QString keys = qiantai::test::BeginSale() +
                         QStringLiteral("<waitfor frmUseHyk>8800000001<Enter>123456<Enter>") +
                         QString::fromUtf8(CardShown) + Dump(identified) + sale +
                         // The next sale: the prompt again, answered with Esc.
                         qiantai::test::BeginSale() + QStringLiteral("<waitfor frmUseHyk><Esc><wait 300>\n") +
                         Dump(second) + sale + QString::fromUtf8(Leave);
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    EXPECT_EQ(ScreenDump::Read(identified).Edit(QStringLiteral("edtHy")),
              QStringLiteral("卡号:8800000001 积分:1200"));
    // The second customer shows no card: the first one's is not on the line.
    const ScreenDump secondSale = ScreenDump::Read(second);
    ASSERT_FALSE(secondSale.IsEmpty());
    EXPECT_EQ(secondSale.Edit(QStringLiteral("edtHy")), QString());
    EXPECT_EQ(
        store().Query(QStringLiteral("SELECT f_Hykh, f_Hyzh FROM tb%1_Xsmxzb ORDER BY f_Djh").arg(Month())),
        (QList<QStringList>{{"8800000001", "M00000001"}, {"", ""}}));
}

} // namespace

TEST_F(CardsEndToEnd, ASaleThatCannotBeRecordedIsLeftWithItsMemberCardChargeGivenBack)
{
    // The store's database refuses every sale: recording fails however often
    // it is tried.
    store().Exec(QStringLiteral("CREATE TRIGGER refuse_sales BEFORE INSERT ON tb%1_Xsmxzb "
                                "BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                     .arg(Month()));
    const QString failed = Path(QStringLiteral("failed.txt"));
    const QString question = Path(QStringLiteral("question.txt"));
    const QString sales = Path(QStringLiteral("sales.txt"));
    const QString keys =
        qiantai::test::BeginSale() + QString::fromUtf8(OneKettle) + QString::fromUtf8(OpenSettlement) +
        // The card pays it all.
        QStringLiteral("5<Enter><waitfor frmHykzf>8800000001<Enter>123456<Enter><waitfor frmFkje>\n"
                       "219<Enter><waitfor Value_0005 219.00>\n") +
        // Enter records, and fails; Esc then shows the charge to give back.
        QStringLiteral("<Enter><waitfor frmInfo>\n") + Dump(failed) +
        QStringLiteral("<Enter><wait 200><Esc><waitfor frmInfo>\n") + Dump(question) +
        // Yes: given back, and the settlement screen is left for the sale.
        QStringLiteral("<Enter><wait 800>\n") + Dump(sales) + qiantai::test::DeleteAllAndLeave();
    const HostRun run = Cashier(keys);
    ASSERT_EQ(run.status, 0) << run.output.toStdString();

    EXPECT_TRUE(Message(ScreenDump::Read(failed)).contains(QLatin1String("disk full")))
        << Message(ScreenDump::Read(failed)).toStdString();
    const QString asked = Message(ScreenDump::Read(question));
    EXPECT_TRUE(asked.startsWith(QStringLiteral("本单未能记入,已收的卡支付:"))) << asked.toStdString();
    EXPECT_TRUE(asked.contains(QStringLiteral("会员卡 ****0001 219.00"))) << asked.toStdString();
    // Back at the sales screen with the kettle still on the document.
    const QList<QStringList> rows = ScreenDump::Read(sales).Rows(QStringLiteral("sgdGrid"));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows[0].value(0), QStringLiteral("100004"));

    // Nothing recorded; the charge was made once and given back.
    EXPECT_TRUE(Documents().isEmpty());
    EXPECT_EQ(
        store().QueryCards(QStringLiteral("SELECT card_no, amount_fen, state FROM card_journal ORDER BY id")),
        (QList<QStringList>{{"8800000001", "21900", "reversed"}}));
    EXPECT_EQ(BalanceFen(QStringLiteral("8800000001")), QStringLiteral("50000"));
}
