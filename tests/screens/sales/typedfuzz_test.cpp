// A bounded fuzz run over the fields the cashier types into: random text of
// every kind (quotes, CJK, full-width digits, signs, exponents, control keys,
// 10 kB strings) typed, pasted with Ctrl+V and committed by the input
// method, then confirmed with Enter. No input crashes or hangs the module,
// no amount it keeps or hands to the host is non-finite or negative, and
// every statement it sends has the structure it has with a plain value.
// Fixed seed; the count comes from QIANTAI_FUZZ_COUNT (scripts/fuzz runs a
// long one).
#include "../cards/cardscreenkit.h"
#include "../checkout/checkoutfixture.h"
#include "fakehost.h"
#include "fakeprompts.h"
#include "logcapture.h"
#include "productstore.h"

#include "base/numbertext.h"
#include "controls/flatedit.h"
#include "qiantai/dispids.h"
#include "screens/cards/cardpayrules.h"
#include "screens/cards/frmflzzf.h"
#include "screens/cards/frmhykzf.h"
#include "screens/cards/frmusehyk.h"
#include "screens/cards/frmxykzf.h"
#include "screens/checkout/frmdjzf.h"
#include "screens/checkout/frmfkje.h"
#include "screens/checkout/frmfkjerules.h"
#include "screens/checkout/frmkhxf.h"
#include "screens/collection/unifiedcollection.h"
#include "screens/discount/frmgrant.h"
#include "screens/discount/frmzksz.h"
#include "screens/lookups/frminputxsxx.h"
#include "screens/lookups/frmkhxx.h"
#include "screens/lookups/inputquery.h"
#include "screens/sales/salegrid.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

namespace qiantai {
namespace {

const QStringList Pieces = {"0",
                            "1",
                            "9",
                            ".",
                            "..",
                            "-",
                            "+",
                            "e",
                            "E",
                            "e-3",
                            "1e308",
                            "inf",
                            "nan",
                            "0x1f",
                            "'",
                            "\"",
                            "''",
                            ";",
                            "--",
                            " ",
                            "\t",
                            "\n",
                            "\r",
                            "\b",
                            "\x1b",
                            "电",
                            "视",
                            "１",
                            "２",
                            "．",
                            "－",
                            "€",
                            "¥",
                            "😀",
                            "%",
                            "_",
                            ",",
                            "1,000",
                            "00",
                            "5.",
                            "N'",
                            "/*",
                            "*/",
                            "\x7f",
                            "\x01",
                            "\x05",
                            "\x02",
                            "张三",
                            "1' Or '1'='1",
                            "'; Delete From tbSpda --",
                            "100001",
                            "１e９"};

// The one input generator: pieces drawn with the run's generator, and now
// and then a 10 kB string.
QString RandomText(std::mt19937& rng, int round)
{
    if (round % 97 == 96)
        return QString(10240, QLatin1Char(round % 2 ? '9' : 'x'));
    std::uniform_int_distribution<int> count(0, 12);
    std::uniform_int_distribution<int> piece(0, int(Pieces.size()) - 1);
    QString text;
    for (int n = count(rng); n > 0; --n)
        text += Pieces[piece(rng)];
    return text;
}

int FuzzCount(int fallback)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("QIANTAI_FUZZ_COUNT", &ok);
    return ok && n > 0 ? n : fallback;
}

// Amount results must be finite and not negative.
void ExpectSound(double amount, const char* what, const QString& input)
{
    EXPECT_TRUE(std::isfinite(amount) && amount >= 0)
        << what << " = " << amount << " after " << input.left(80).toStdString();
}

void ExpectSoundAmount(const AmountDecision& d, const QString& text)
{
    if (d.accepted)
        ExpectSound(d.amount, "amount", text);
}

// Control characters of the generator as the keys that type them.
Qt::Key ControlKey(QChar c)
{
    switch (c.unicode()) {
    case 0x08:
        return Qt::Key_Backspace;
    case 0x7f:
        return Qt::Key_Delete;
    case 0x01:
        return Qt::Key_Home;
    case 0x05:
        return Qt::Key_End;
    case 0x02:
        return Qt::Key_Left;
    default:
        return Qt::Key_unknown;
    }
}

// Each character as a key press that carries it as its text, whatever it
// is; the control characters above as their keys.
void TypeKeys(QWidget* field, const QString& text)
{
    for (QChar c : text) {
        const Qt::Key k = ControlKey(c);
        const QString t = k == Qt::Key_unknown ? QString(c) : QString();
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, t);
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, t);
        QApplication::sendEvent(field, &release);
    }
}

enum class InputPath { Paste, InputMethod, Keys };

void Feed(QWidget* field, const QString& text, InputPath path)
{
    switch (path) {
    case InputPath::Paste:
        QApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        break;
    case InputPath::InputMethod: {
        // The platform commits only to a field that takes input methods.
        if (!field->testAttribute(Qt::WA_InputMethodEnabled))
            break;
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(field, &commit);
        break;
    }
    case InputPath::Keys:
        TypeKeys(field, text.left(24));
        break;
    }
}

bool KeepsToTheRule(const QString& text)
{
    for (QChar c : text)
        if (!IsNumberChar(c))
            return false;
    return true;
}

TEST(TypedNumberFuzz, AmountFieldsHoldOnlyTheirCharactersAndTakeOnlySoundAmounts)
{
    const unsigned seed = 16;
    const int count = FuzzCount(400);
    std::printf("typed-number fuzz: seed %u, %d inputs\n", seed, count);
    std::mt19937 rng(seed);

    SaleSession s;
    test::PrepareCheckoutSession(s);
    s.AmountDue = 100;
    TfrmFkje entry(nullptr);
    entry.Payment = s.PaymentMethods[0];
    entry.Remaining = 100;
    entry.show();
    TfrmDjzf deposit(5000, nullptr);
    deposit.show();

    for (int round = 0; round < count; ++round) {
        const QString text = RandomText(rng, round);
        double value = -1;
        QString error;
        if (ReadTypedNumber(text, value, error)) {
            EXPECT_TRUE(std::isfinite(value) && value >= 0) << text.toStdString();
        } else {
            EXPECT_EQ(error, NotANumberText(text));
        }
        for (const TPayment& m : s.PaymentMethods)
            ExpectSoundAmount(DecidePaymentAmount(s, m, 100, 50, text), text);
        ExpectSoundAmount(DecideDeposit(5000, text), text);

        for (QLineEdit* field : {entry.AmountField(), deposit.AmountField()}) {
            field->clear();
            Feed(field, text, InputPath(round % 3));
            EXPECT_TRUE(KeepsToTheRule(field->text())) << text.toStdString();
            ExpectSoundAmount(DecidePaymentAmount(s, s.PaymentMethods[0], 100, 0, field->text()), text);
            ExpectSoundAmount(DecideDeposit(5000, field->text()), text);
        }
    }
}

// --- Every field the keys reach ------------------------------------------

enum class FieldKind { Amount, Quantity, Code, Text, Name };

// A plain value of each kind: the statements it sends are the shapes every
// other input must keep.
QStringList BenignValues(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Amount:
        return {"12.5", "0", ""};
    case FieldKind::Quantity:
        return {"2", "1.5", ""};
    case FieldKind::Code:
        return {"100001", "0101", "1", ""};
    case FieldKind::Text:
        return {"abc", "张三", ""};
    case FieldKind::Name: // a read-only name box: Left goes back to its code box
        return {"abc", "张三", "", "\x02"};
    }
    return {};
}

// The host, the session and the product store every dialog below works on.
class FuzzWorld {
public:
    FuzzWorld()
    {
        SaleSession& s = Session();
        test::PrepareCheckoutSession(s);
        s.HostObject = CoorDispRef(host);
        host->release();
        s.Dwlx = QStringLiteral("11");
        s.Gzbm = QStringLiteral("010102");
        s.Dybm = QStringLiteral("0101");
        s.Dqny = QStringLiteral("202406");
        s.Djh = QStringLiteral("0000000123");
        s.Syybm = QStringLiteral("0007");
        s.AmountDue = 100;
        store.products["100001"] = {test::ProductStore::Product("100001", "空调", 12.50)};
        host->answer(dispid::GetCurrentDate, 0, QStringLiteral("20240615"));
    }
    ~FuzzWorld()
    {
        Session().SaleLines.Clear();
        Session() = SaleSession();
    }

    test::FakeHost* host = new test::FakeHost;
    test::ProductStore store{*host};
    test::FakePrompts prompts;
};

// One field opened for one input: the dialog, the field, how it is
// confirmed (Enter on the field unless said otherwise), and what must hold
// afterwards.
struct OpenedField {
    OpenedField(std::shared_ptr<QWidget> d, QWidget* f) : dialog(std::move(d)), field(f) {}
    std::shared_ptr<test::CardScreenKit> cards; // outlives the dialog
    std::shared_ptr<test::LogCapture> log;      // the run's log lines
    std::shared_ptr<QWidget> dialog;
    QWidget* field = nullptr;
    std::function<void()> confirm = {};
    std::function<void(const QString& input)> check = [](const QString&) {};
};

struct FieldCase {
    const char* dialog;    // its title and class
    const char* reachedBy; // the keys that open it
    const char* field;     // the field
    FieldKind kind;
    std::function<OpenedField(FuzzWorld&)> open;
};

void PressEnter(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_Return);
}

void ExpectSoundLines(const QString& input)
{
    for (const TSaleRecord& l : Session().SaleLines) {
        for (double v : {l.Quantity, l.NetAmount, l.TaxAmount, l.ManualDiscount, l.AutoDiscount})
            EXPECT_TRUE(std::isfinite(v)) << input.left(80).toStdString();
        ExpectSound(l.UnitPrice, "UnitPrice", input);
    }
}

// Grid cell `col` of row `row` with its editor opened by a first "1".
OpenedField GridCell(FuzzWorld& w, int col, bool withLine)
{
    auto screen = std::make_shared<QWidget>();
    screen->resize(900, 400);
    auto* grid = new TSaleGrid(screen.get());
    grid->setGeometry(0, 0, 900, 400);
    grid->SetColumnWidthsFor(900);
    grid->SetPrompts(&w.prompts);
    screen->show();
    QApplication::setActiveWindow(screen.get());
    Session().SaleLines.Clear();
    grid->ResetRows();
    if (withLine) {
        QTest::keyClicks(grid, QStringLiteral("100001"));
        PressEnter(QApplication::focusWidget());
    }
    grid->SetCursor(1, col);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : grid, '1');
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    OpenedField f{screen, editor};
    if (editor)
        editor->selectAll();
    f.confirm = [grid] { PressEnter(QApplication::focusWidget() ? QApplication::focusWidget() : grid); };
    f.check = ExpectSoundLines;
    return f;
}

OpenedField Discount(DiscountMode mode)
{
    Session().SaleLines.Clear();
    TSaleRecord& line = Session().SaleLines.Add();
    line.ProductCode = QStringLiteral("100001");
    line.ListPrice = line.UnitPrice = 50;
    line.Quantity = 2;
    line.TaxRate = 17;
    line.NetAmount = 85.47;
    line.TaxAmount = 14.53;
    DiscountAuthority yes{[](const QString&) { return true; }, [](const QString&) { return true; }};
    auto d = std::make_shared<TfrmZksz>(nullptr, mode, 1, Session().SaleLines, yes, 2, 0);
    d->show();
    OpenedField f{d, d->input()};
    f.check = ExpectSoundLines;
    return f;
}

// Every number in a host call's arguments, packets and lists included.
void CollectNumbers(const QVariant& v, QList<double>& out)
{
    const int type = v.metaType().id();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        out.append(v.toDouble());
    } else if (type == QMetaType::QVariantList) {
        for (const QVariant& e : v.toList())
            CollectNumbers(e, out);
    }
}

// Every number the card front-end, the terminal and the host were handed
// is finite, and no charge is negative.
void ExpectSoundCardRequests(const test::CardScreenKit& kit, const QString& input)
{
    QList<double> numbers;
    for (const QVariantList& r : kit.payments + kit.consumptionRecords)
        CollectNumbers(r, numbers);
    for (double n : numbers)
        ExpectSound(n, "card request", input);
}

// A card screen of payment method `method` whose card number field takes
// the input; `prepare` sets the front-end's answers.
template <class Screen>
OpenedField CardNumberScreen(int method, const std::function<void(test::CardScreenKit&)>& prepare,
                             const std::function<QWidget*(Screen&)>& field)
{
    auto kit = std::make_shared<test::CardScreenKit>();
    prepare(*kit);
    auto d = std::make_shared<Screen>(nullptr, kit->Context());
    d->Payment = Session().PaymentMethods[method];
    d->Remaining = 100;
    d->show();
    OpenedField f{d, field(*d)};
    f.cards = kit;
    f.check = [kit](const QString& in) { ExpectSoundCardRequests(*kit, in); };
    return f;
}

// The bank card screen: Enter on the amount, then a card swiped and
// confirmed, so that the amount reaches the terminal.
OpenedField BankCardAmount()
{
    auto kit = std::make_shared<test::CardScreenKit>();
    kit->session.AmountDue = 100; // the cap lets the amount through to the swipe
    kit->terminal.result.ok = false;
    auto d = std::make_shared<TFrmXykzf>(nullptr, kit->Context());
    d->Payment = Session().PaymentMethods[3];
    d->Payment.Kind = paykind::BankCard;
    d->Remaining = 100;
    d->show();
    OpenedField f{d, d->AmountField()};
    f.cards = kit;
    f.confirm = [d] {
        PressEnter(d->AmountField());
        if (d->isVisible() && d->SwipeField()->hasFocus()) {
            QTest::keyClicks(d->SwipeField(), QStringLiteral(";6222021234567890=49121010000?"));
            PressEnter(d->SwipeField());
            if (d->isVisible())
                PressEnter(d->ConfirmField());
        }
    };
    f.check = [d, kit](const QString& in) {
        ExpectSound(d->EnteredAmount, "EnteredAmount", in);
        for (const QByteArray& request : kit->terminal.requests)
            EXPECT_FALSE(request.contains('-'))
                << "a negative amount to the terminal after " << in.left(80).toStdString();
    };
    return f;
}

// The bank card screen with its amount taken and the terminal approving.
std::shared_ptr<TFrmXykzf> ApprovingBankCardScreen(const std::shared_ptr<test::CardScreenKit>& kit)
{
    kit->session.AmountDue = 100;
    kit->terminal.result.ok = true;
    kit->terminal.result.response = QByteArray("000000").leftJustified(91, ' ');
    auto d = std::make_shared<TFrmXykzf>(nullptr, kit->Context());
    d->Payment = Session().PaymentMethods[3];
    d->Payment.Kind = paykind::BankCard;
    d->Remaining = 100;
    d->show();
    PressEnter(d->AmountField());
    return d;
}

const QString BankCardSwipe = QStringLiteral(";6222021234567890=49121010000?");

// The amount field of every terminal request holds the 100.00 entered, in
// fen, whatever the swipe and confirmation fields got.
void ExpectRequestsCarryTheAmount(const test::CardScreenKit& kit, const QString& input)
{
    EXPECT_LE(kit.terminal.requests.size(), 1) << input.left(80).toStdString();
    for (const QByteArray& request : kit.terminal.requests)
        EXPECT_EQ(request.mid(2, 12), "000000010000") << input.left(80).toStdString();
}

// The bank card screen's hidden swipe field, confirmed as the reader does.
OpenedField BankCardSwipeField()
{
    auto kit = std::make_shared<test::CardScreenKit>();
    auto d = ApprovingBankCardScreen(kit);
    OpenedField f{d, d->SwipeField()};
    f.cards = kit;
    f.confirm = [d] {
        PressEnter(d->SwipeField());
        if (d->isVisible() && d->ConfirmField()->hasFocus())
            PressEnter(d->ConfirmField());
    };
    f.check = [d, kit](const QString& in) {
        ExpectSound(d->EnteredAmount, "EnteredAmount", in);
        ExpectRequestsCarryTheAmount(*kit, in);
    };
    return f;
}

// The hidden confirmation field after a good swipe: what it gets changes
// nothing of the one request the terminal is sent.
OpenedField BankCardConfirmField()
{
    auto kit = std::make_shared<test::CardScreenKit>();
    auto d = ApprovingBankCardScreen(kit);
    QTest::keyClicks(d->SwipeField(), BankCardSwipe);
    PressEnter(d->SwipeField());
    OpenedField f{d, d->ConfirmField()};
    f.cards = kit;
    f.check = [d, kit](const QString& in) {
        ExpectSound(d->EnteredAmount, "EnteredAmount", in);
        EXPECT_EQ(kit->terminal.requests,
                  QList<QByteArray>{BankCardRequest(kit->session, BankCardSwipe, 100)})
            << in.left(80).toStdString();
    };
    return f;
}

// A typed password of eight characters or more appears in no statement to
// either host and no log line; a shorter one may match a document number
// by chance.
void ExpectPasswordKept(const QString& password, const QStringList& statements, const QStringList& logLines,
                        const QString& input)
{
    if (password.size() < 8)
        return;
    for (const QStringList* texts : {&statements, &logLines})
        for (const QString& text : *texts)
            EXPECT_FALSE(text.contains(password))
                << "the password typed after " << input.left(80).toStdString() << " in "
                << text.toStdString();
}

// A member card password field after a swipe; the field's text at Enter is
// the password the card query carries and nothing else may.
OpenedField MemberCardPassword(FuzzWorld& w, const std::shared_ptr<test::CardScreenKit>& kit,
                               std::shared_ptr<QWidget> dialog, QLineEdit* swipe, QLineEdit* password)
{
    swipe->setText(QStringLiteral("8800000001"));
    password->setFocus();
    OpenedField f{std::move(dialog), password};
    f.cards = kit;
    f.log = std::make_shared<test::LogCapture>();
    auto typed = std::make_shared<QString>();
    f.confirm = [password, typed] {
        *typed = password->text();
        PressEnter(password);
    };
    f.check = [host = w.host, kit, log = f.log, typed](const QString& in) {
        ExpectSoundCardRequests(*kit, in);
        EXPECT_TRUE(std::isfinite(kit->session.CurrentMemberCard.Balance)) << in.left(80).toStdString();
        ASSERT_EQ(kit->queries.size(), 1) << in.left(80).toStdString();
        EXPECT_EQ(kit->queries[0].value(2).toString(), *typed) << in.left(80).toStdString();
        ExpectPasswordKept(*typed, host->statements() + kit->fakeHost.statements(), log->lines(), in);
    };
    return f;
}

OpenedField MemberCardPaymentPassword(FuzzWorld& w)
{
    auto kit = std::make_shared<test::CardScreenKit>();
    kit->queryAnswers = {test::MemberCard(500, QStringLiteral("8800000001"))};
    kit->payAnswers = {test::Answer({})};
    MemberCardAmountEntry entry = [](QWidget*, const QRect&, const TPayment&, double remaining, double,
                                     double& amount) {
        amount = remaining;
        return true;
    };
    auto d = std::make_shared<TFrmHykzf>(nullptr, kit->Context(), entry);
    d->Payment = Session().PaymentMethods[4];
    d->Remaining = 100;
    d->show();
    OpenedField f = MemberCardPassword(w, kit, d, d->SwipeField(), d->PasswordField());
    const auto checkCard = f.check;
    f.check = [d, checkCard](const QString& in) {
        checkCard(in);
        ExpectSound(d->EnteredAmount, "EnteredAmount", in);
    };
    return f;
}

OpenedField MemberCardIdentificationPassword(FuzzWorld& w)
{
    auto kit = std::make_shared<test::CardScreenKit>();
    kit->queryAnswers = {test::MemberCard(500, QStringLiteral("8800000001"))};
    auto d = std::make_shared<TfrmUseHyk>(nullptr, kit->session, kit->cards);
    d->show();
    return MemberCardPassword(w, kit, d, d->cardEdit(), d->passwordEdit());
}

// The read-only name box of the customer account screen after a customer
// was found: nothing typed there changes the customer booked.
OpenedField CustomerAccountName(FuzzWorld& w)
{
    w.host->on(dispid::OpenQuery, [](QVariantList& args) {
        args[1] = packetToVariant(test::FakeHost::table({"f_Khbm", "f_Khmc"}, {{"K01", "华联"}}));
        return QVariant(true);
    });
    auto d = std::make_shared<TFrmKhxf>(nullptr);
    d->Payment = Session().PaymentMethods[6];
    d->Remaining = 100;
    d->RunAmountEntry = [](TfrmFkje& entry) {
        entry.EnteredAmount = entry.Remaining;
        return true;
    };
    d->show();
    QTest::keyClicks(d->CodeField(), QStringLiteral("K01"));
    PressEnter(d->CodeField());
    OpenedField f{d, d->NameField()};
    f.check = [d](const QString& in) {
        EXPECT_EQ(d->CustomerCode, QStringLiteral("K01")) << in.left(80).toStdString();
        EXPECT_EQ(d->CustomerName, QStringLiteral("华联")) << in.left(80).toStdString();
        EXPECT_EQ(d->NameField()->text(), QStringLiteral("华联")) << in.left(80).toStdString();
        ExpectSound(d->EnteredAmount, "EnteredAmount", in);
    };
    return f;
}

// A read-only name box of the sales information dialog, the sale's three
// names set: nothing typed there changes a name the sale keeps.
OpenedField SalesInfoName(TFlatEdit* (TfrmInputXsxx::*name)() const, bool warehouse)
{
    SaleSession& s = Session();
    s.Gzmc = QStringLiteral("彩电柜");
    s.Yyybm = QStringLiteral("2001");
    s.Yyymc = QStringLiteral("李四");
    s.Ckbm = QStringLiteral("01");
    s.Ckmc = QStringLiteral("中心一库");
    auto d = std::make_shared<TfrmInputXsxx>(nullptr, s);
    d->setWarehouseEnabled(warehouse);
    d->show();
    TFlatEdit* field = (d.get()->*name)();
    field->setFocus();
    OpenedField f{d, field};
    f.check = [d, field, shown = field->text()](const QString& in) {
        const SaleSession& s = Session();
        EXPECT_EQ(QStringList({s.Gzmc, s.Yyymc, s.Ckmc}),
                  QStringList({QStringLiteral("彩电柜"), QStringLiteral("李四"), QStringLiteral("中心一库")}))
            << in.left(80).toStdString();
        EXPECT_EQ(field->text(), shown) << in.left(80).toStdString();
    };
    return f;
}

std::vector<FieldCase> Fields()
{
    return {
        {"输入付款金额 TfrmFkje", "F1 Enter, picker 1 Enter", "amount", FieldKind::Amount,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmFkje>(nullptr);
             d->Payment = Session().PaymentMethods[0];
             d->Remaining = 100;
             d->show();
             OpenedField f{d, d->AmountField()};
             f.check = [d](const QString& in) { ExpectSound(d->EnteredAmount, "EnteredAmount", in); };
             return f;
         }},
        {"预交定金 TfrmDjzf", "F1 on a delivery sale", "amount", FieldKind::Amount,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmDjzf>(5000, nullptr);
             d->show();
             OpenedField f{d, d->AmountField()};
             f.check = [d](const QString& in) { ExpectSound(d->DepositAmount, "DepositAmount", in); };
             return f;
         }},
        {"会员卡 TfrmFkje", "F1 Enter, picker 5 Enter, a card swiped", "amount", FieldKind::Amount,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmFkje>(nullptr);
             d->Payment = Session().PaymentMethods[4];
             d->Remaining = 100;
             d->CardBalanceShown = 50;
             d->show();
             OpenedField f{d, d->AmountField()};
             f.check = [d](const QString& in) { ExpectSound(d->EnteredAmount, "EnteredAmount", in); };
             return f;
         }},
        {"信用卡 TFrmXykzf", "F1 Enter, picker 4 Enter", "edtJe", FieldKind::Amount,
         [](FuzzWorld&) { return BankCardAmount(); }},
        {"信用卡 TFrmXykzf", "F1 Enter, picker 4 Enter, Enter", "edtKh (swipe)", FieldKind::Code,
         [](FuzzWorld&) { return BankCardSwipeField(); }},
        {"信用卡 TFrmXykzf", "F1 Enter, picker 4 Enter, Enter, a card swiped", "edtMm (confirmation)",
         FieldKind::Text, [](FuzzWorld&) { return BankCardConfirmField(); }},
        {"会员卡 TFrmHykzf", "F1 Enter, picker 5 Enter", "edtKh", FieldKind::Code,
         [](FuzzWorld&) {
             return CardNumberScreen<TFrmHykzf>(
                 4, [](test::CardScreenKit&) {}, [](TFrmHykzf& d) { return d.SwipeField(); });
         }},
        {"会员卡 TFrmHykzf", "F1 Enter, picker 5 Enter, a card swiped", "edtMm (password)", FieldKind::Text,
         [](FuzzWorld& w) { return MemberCardPaymentPassword(w); }},
        {"福利证 TFrmFlzzf", "F1 Enter, picker 6 Enter", "edtQh", FieldKind::Code,
         [](FuzzWorld&) {
             return CardNumberScreen<TFrmFlzzf>(
                 5,
                 [](test::CardScreenKit& kit) {
                     kit.queryAnswers = {test::Certificate(QStringLiteral("7700000001"), 50)};
                     kit.payAnswers = {test::Answer({})};
                 },
                 [](TFrmFlzzf& d) { return d.NumberField(); });
         }},
        {"使用会员卡 TfrmUseHyk", "F10, 1 Enter", "edtKh", FieldKind::Code,
         [](FuzzWorld&) {
             auto kit = std::make_shared<test::CardScreenKit>();
             kit->queryAnswers = {test::MemberCard(500, QStringLiteral("8800000001"))};
             auto d = std::make_shared<TfrmUseHyk>(nullptr, Session(), kit->cards);
             d->show();
             OpenedField f{d, d->cardEdit()};
             f.cards = kit;
             f.check = [kit](const QString& in) {
                 ExpectSoundCardRequests(*kit, in);
                 EXPECT_TRUE(std::isfinite(Session().CurrentMemberCard.Balance)) << in.left(80).toStdString();
             };
             return f;
         }},
        {"使用会员卡 TfrmUseHyk", "F10, 1 Enter, a card swiped", "edtMm (password)", FieldKind::Text,
         [](FuzzWorld& w) { return MemberCardIdentificationPassword(w); }},
        {"客户消费 TFrmKhxf", "F1 Enter, picker 7 Enter", "customer code", FieldKind::Code,
         [](FuzzWorld&) {
             auto d = std::make_shared<TFrmKhxf>(nullptr);
             d->Payment = Session().PaymentMethods[6];
             d->Remaining = 100;
             d->show();
             OpenedField f{d, d->CodeField()};
             return f;
         }},
        {"客户消费 TFrmKhxf", "F1 Enter, picker 7 Enter, a customer found", "customer name", FieldKind::Name,
         [](FuzzWorld& w) { return CustomerAccountName(w); }},
        {"商品代码 TSaleGrid", "typing on the entry row", "code editor", FieldKind::Code,
         [](FuzzWorld& w) { return GridCell(w, gridcol::Code, false); }},
        {"数量 TSaleGrid", "a line, then Right to its quantity", "quantity editor", FieldKind::Quantity,
         [](FuzzWorld& w) { return GridCell(w, gridcol::Quantity, true); }},
        {"单价 TSaleGrid", "a line, then Right to its price", "price editor", FieldKind::Amount,
         [](FuzzWorld& w) { return GridCell(w, gridcol::Price, true); }},
        {"金额 TSaleGrid", "a line, then Right to its amount", "amount editor", FieldKind::Amount,
         [](FuzzWorld& w) { return GridCell(w, gridcol::Amount, true); }},
        {"单行手工折扣率设置 TfrmZksz", "F3, the first mode, Enter", "input", FieldKind::Amount,
         [](FuzzWorld&) { return Discount(DiscountMode::LineRate); }},
        {"单行手工金额折扣设置 TfrmZksz", "F3, the third mode, Enter", "input", FieldKind::Amount,
         [](FuzzWorld&) { return Discount(DiscountMode::LineAmount); }},
        {"整单手工折扣率设置 TfrmZksz", "F3, the second mode, Enter", "input", FieldKind::Amount,
         [](FuzzWorld&) { return Discount(DiscountMode::WholeRate); }},
        {"整单手工金额折扣设置 TfrmZksz", "F3, the fourth mode, Enter", "input", FieldKind::Amount,
         [](FuzzWorld&) { return Discount(DiscountMode::WholeAmount); }},
        {"授权 TFrmGrant", "a discount below the lowest price", "supervisor code", FieldKind::Code,
         [](FuzzWorld& w) {
             auto d = std::make_shared<TFrmGrant>(nullptr, w.host, QStringLiteral("9913"));
             d->show();
             OpenedField f{d, d->codeEdit()};
             return f;
         }},
        {"授权 TFrmGrant", "a discount below the lowest price, Enter", "password", FieldKind::Text,
         [](FuzzWorld& w) {
             auto d = std::make_shared<TFrmGrant>(nullptr, w.host, QStringLiteral("9913"));
             d->show();
             d->codeEdit()->setText(QStringLiteral("1001"));
             OpenedField f{d, d->passwordEdit()};
             return f;
         }},
        {"销售信息 TfrmInputXsxx", "F6", "counter group code", FieldKind::Code,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmInputXsxx>(nullptr, Session());
             d->show();
             OpenedField f{d, d->counterCode()};
             return f;
         }},
        {"销售信息 TfrmInputXsxx", "F6, Enter twice", "salesperson code", FieldKind::Code,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmInputXsxx>(nullptr, Session());
             d->show();
             d->salespersonCode()->setFocus();
             OpenedField f{d, d->salespersonCode()};
             return f;
         }},
        {"销售信息 TfrmInputXsxx", "F6 with sales method 3, Enter to the warehouse", "warehouse code",
         FieldKind::Code,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmInputXsxx>(nullptr, Session());
             d->setWarehouseEnabled(true);
             d->show();
             d->warehouseCode()->setFocus();
             OpenedField f{d, d->warehouseCode()};
             return f;
         }},
        {"销售信息 TfrmInputXsxx", "F6, a counter group found", "counter group name", FieldKind::Name,
         [](FuzzWorld&) { return SalesInfoName(&TfrmInputXsxx::counterName, false); }},
        {"销售信息 TfrmInputXsxx", "F6, a salesperson found", "salesperson name", FieldKind::Name,
         [](FuzzWorld&) { return SalesInfoName(&TfrmInputXsxx::salespersonName, false); }},
        {"销售信息 TfrmInputXsxx", "F6 with sales method 3, a warehouse found", "warehouse name",
         FieldKind::Name, [](FuzzWorld&) { return SalesInfoName(&TfrmInputXsxx::warehouseName, true); }},
        {"统收 TfrmInputQuery", "F1 Enter, Esc, F8", "document numbers", FieldKind::Code,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmInputQuery>(QStringLiteral("输入"),
                                                       QStringLiteral("请输入统收销售单号:"), QString(),
                                                       QChar(), InputDialogColors(), nullptr);
             d->show();
             QLineEdit* edit = d->edit();
             OpenedField f{d, edit};
             // Enter closes the box; the settlement screen takes its text.
             f.confirm = [edit] {
                 const QString typed = edit->text();
                 PressEnter(edit);
                 HostService host(Session().HostObject.get());
                 QString error;
                 CollectTypedDocuments(Session(), host, false, typed, error);
             };
             f.check = [](const QString& in) {
                 ExpectSound(Session().AmountDue, "AmountDue", in);
                 ExpectSound(Session().UnifiedTotal, "UnifiedTotal", in);
             };
             return f;
         }},
        {"客户信息 TfrmKhxx", "F1", "customer information", FieldKind::Text,
         [](FuzzWorld&) {
             auto d = std::make_shared<TfrmKhxx>(nullptr);
             d->show();
             OpenedField f{d, d->editor()};
             return f;
         }},
    };
}

// Answers every message box or nested dialog the input opens: Enter, and
// Esc when Enter does not close it. `own` is never touched.
class ModalAnswerer {
public:
    explicit ModalAnswerer(const std::function<QWidget*()>& own)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [own, this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == own())
                return;
            QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
            QTest::keyClick(target, (answered_++ % 2) ? Qt::Key_Escape : Qt::Key_Return);
        });
        timer_.start();
    }

private:
    QTimer timer_;
    int answered_ = 0;
};

// Aborts the run with the input that is taking too long.
class HangGuard {
public:
    HangGuard()
        : thread_([this] {
              int still = 0;
              unsigned last = progress_;
              while (!stop_) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(200));
                  if (progress_ != last) {
                      last = progress_;
                      still = 0;
                  } else if (++still > 5 * 60) {
                      std::lock_guard<std::mutex> lock(mutex_);
                      std::fprintf(stderr, "fuzz input hangs: %s\n", current_.c_str());
                      std::abort();
                  }
              }
          })
    {
    }
    ~HangGuard()
    {
        stop_ = true;
        thread_.join();
    }
    void starting(const std::string& what)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        current_ = what;
        ++progress_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<unsigned> progress_{0};
    std::mutex mutex_;
    std::string current_;
    std::thread thread_;
};

// Runs one input in a fresh world; returns the shapes of the statements
// sent (`statements` counts them).
QSet<QString> RunInput(const FieldCase& c, const QString& input, InputPath path, bool checkResults,
                       int* statements = nullptr)
{
    FuzzWorld world;
    OpenedField f = c.open(world);
    if (!f.field) {
        ADD_FAILURE() << c.dialog << ": no " << c.field;
        return {};
    }
    QPointer<QWidget> dialog = f.dialog.get();
    ModalAnswerer answerer([dialog] { return dialog.data(); });
    world.host->clearLog();
    if (f.cards)
        f.cards->fakeHost.clearLog();
    Feed(f.field, input, path);
    if (f.confirm)
        f.confirm();
    else
        PressEnter(f.field);
    if (checkResults) {
        f.check(input);
        for (const auto& call : world.host->calls()) {
            QList<double> numbers;
            for (const QVariant& a : call.argsAfter)
                CollectNumbers(a, numbers);
            for (double n : numbers)
                EXPECT_TRUE(std::isfinite(n)) << c.dialog << " " << c.field << ": host call " << call.dispId
                                              << " got " << n << " after " << input.left(80).toStdString();
        }
    }
    QStringList sent = world.host->statements();
    if (f.cards)
        sent += f.cards->fakeHost.statements();
    QSet<QString> shapes;
    for (const QString& sql : sent)
        shapes.insert(test::FakeHost::SqlShape(sql));
    if (statements)
        *statements += int(sent.size());
    f.dialog.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return shapes;
}

TEST(TypedFieldFuzz, EveryFieldTakesAnyInputAndKeepsAmountsAndStatementsSound)
{
    const unsigned seed = 16;
    const int count = FuzzCount(60);
    const std::vector<FieldCase> fields = Fields();
    std::printf("typed-field fuzz: seed %u, %d inputs in each of %d fields\n", seed, count,
                int(fields.size()));
    std::mt19937 rng(seed);
    HangGuard guard;
    QElapsedTimer clock;
    clock.start();
    int findings = 0;

    for (const FieldCase& c : fields) {
        SCOPED_TRACE(std::string(c.dialog) + " / " + c.field + " (" + c.reachedBy + ")");
        QSet<QString> allowed;
        for (const QString& v : BenignValues(c.kind))
            for (InputPath path : {InputPath::Keys, InputPath::Paste})
                allowed.unite(RunInput(c, v, path, false));
        int statements = 0;
        const qint64 fieldStart = clock.elapsed();
        for (int round = 0; round < count; ++round) {
            const QString input = RandomText(rng, round);
            guard.starting(std::string(c.dialog) + " / " + c.field + ": " + input.left(200).toStdString());
            const QSet<QString> shapes = RunInput(c, input, InputPath(round % 3), true, &statements);
            for (const QString& shape : shapes)
                if (!allowed.contains(shape)) {
                    ++findings;
                    ADD_FAILURE() << "statement changed its structure after " << input.left(80).toStdString()
                                  << ":\n  " << shape.toStdString();
                }
        }
        std::printf("  %s / %s: %d statements of %d shapes, %lld ms\n", c.dialog, c.field, statements,
                    int(allowed.size()), static_cast<long long>(clock.elapsed() - fieldStart));
    }
    std::printf("typed-field fuzz: %lld ms, %d findings\n", static_cast<long long>(clock.elapsed()),
                findings);
}

} // namespace
} // namespace qiantai
