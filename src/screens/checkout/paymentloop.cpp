#include "screens/checkout/paymentloop.h"

#include "sale/salesession.h"

namespace qiantai {

namespace {

// Opens the screen of the method's kind and books its answer; true when
// something may have been booked.
bool TakeOnePayment(PaymentBook& book, PaymentScreens& screens, const TPayment& m)
{
    const double remaining = book.Remaining();
    switch (m.Kind) {
    case paykind::Cash:
    case paykind::Simple: {
        double amount = 0;
        if (!screens.TakeAmount(m, remaining, amount))
            return false;
        book.BookAmountEntry(m, amount);
        return true;
    }
    case paykind::MemberCard: {
        MemberCardPayment payment;
        if (!screens.TakeMemberCard(m, remaining, payment))
            return false;
        book.BookMemberCard(m, payment);
        return true;
    }
    case paykind::CustomerAccount: {
        QString customer;
        double amount = 0;
        if (!screens.TakeCustomerAccount(m, remaining, customer, amount))
            return false;
        book.BookCustomerAccount(m, customer, amount);
        return true;
    }
    case paykind::Welfare:
        screens.TakeWelfareCertificates(m, remaining);
        return true;
    case paykind::BankCard: {
        double amount = 0;
        if (!screens.TakeBankCard(m, remaining, amount))
            return false;
        book.BookBankCard(m, amount);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

void RunPaymentLoop(SaleSession& s, PaymentScreens& screens)
{
    PaymentBook book(s);
    for (;;) {
        const int index = screens.PickMethod();
        if (index < 0 || index >= s.PaymentMethods.Count())
            return;
        const TPayment m = s.PaymentMethods.Item(index);
        if (!TakeOnePayment(book, screens, m))
            continue;
        screens.ShowPaymentTotals(m.Code);
        if (book.Covered())
            return;
    }
}

} // namespace qiantai
