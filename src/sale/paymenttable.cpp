#include "sale/paymenttable.h"

#include "sale/salesession.h"

namespace qiantai {

namespace {

void addMethod(TAllPayment& methods, const char* code, const char* name, quint8 kind, qint32 typeNo)
{
    TPayment& m = methods.Add();
    m.Code = QString::fromLatin1(code);
    m.Name = QString::fromUtf8(name);
    m.Kind = kind;
    m.SaleTypeNo = typeNo;
}

void addTool(TAllSysTools& tools, const char* code, const char* caption, const char* formName)
{
    TSysTool& t = tools.Add();
    t.Code = QString::fromLatin1(code);
    t.Caption = QString::fromUtf8(caption);
    t.FormName = QString::fromLatin1(formName);
}

} // namespace

void BuildPaymentMethods(SaleSession& s)
{
    const quint8 creditKind = s.Xyklx != QLatin1String("0") ? paykind::BankCard : paykind::Simple;
    TAllPayment& m = s.PaymentMethods;
    m.Clear();
    addMethod(m, "0001", "现金", paykind::Cash, 0);
    addMethod(m, "0002", "转帐", paykind::Simple, 4);
    addMethod(m, "0003", "券类", paykind::Simple, 2);
    addMethod(m, "0004", "信用卡", creditKind, 5);
    addMethod(m, "0005", "会员卡", paykind::MemberCard, 6);
    addMethod(m, "0006", "福利证", paykind::Welfare, 8);
    addMethod(m, "0007", "消费", paykind::CustomerAccount, 7);
}

const char* const ReprintReceiptTool = "ReprintReceipt";

void BuildSystemTools(SaleSession& s)
{
    s.SystemTools.Clear();
    addTool(s.SystemTools, "001", "使用会员卡", "FrmUseHyk");
    addTool(s.SystemTools, "002", "会员卡余额查询", "FrmHykzf");
    addTool(s.SystemTools, "003", "重印上一张小票", ReprintReceiptTool);
}

const TPayment* FindPaymentMethod(const TAllPayment& methods, const QString& code)
{
    for (const TPayment& m : methods)
        if (m.Code == code)
            return &m;
    return nullptr;
}

qint32 PaymentTypeNo(const TAllPayment& methods, const QString& code)
{
    const TPayment* m = FindPaymentMethod(methods, code);
    return m ? m->SaleTypeNo : 0;
}

} // namespace qiantai
