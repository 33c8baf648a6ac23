#include "hostcalls/sysparamrules.h"

namespace qiantai {

namespace {

using R = TSysParamRecord;

SysParamRule required(SysParam member, const char* key, SysParamField field, const char* failure)
{
    return {member, key, field, failure, nullptr};
}

SysParamRule optional(SysParam member, const char* key, SysParamField field, const char* fallback)
{
    return {member, key, field, nullptr, fallback};
}

SysParamRule fallbackForUnitType(SysParamRule r, const char* fallback, bool (*applies)(const QString&))
{
    r.fallback = fallback;
    r.fallbackForUnitType = applies;
    return r;
}

SysParamRule oneOrZero(SysParamRule r)
{
    r.form = TextForm::OneOrZero;
    return r;
}

SysParamRule decimalFormat(SysParamRule r)
{
    r.form = TextForm::DecimalFormat;
    return r;
}

SysParamRule blankIsFallback(SysParamRule r)
{
    r.blankIsFallback = true;
    return r;
}

SysParamRule exactKey(SysParamRule r)
{
    r.exactKey = true;
    return r;
}

SysParamRule onlyWhen(SysParamRule r, bool R::*condition)
{
    r.onlyWhen = condition;
    return r;
}

// Chain and store units need their chain code and counter group.
bool dybmMayBeEmpty(const QString& unitType)
{
    return unitType != QLatin1String("01") && unitType != QLatin1String("02") &&
           unitType != QLatin1String("11");
}

bool isUnitType00(const QString& unitType)
{
    return unitType == QLatin1String("00");
}

} // namespace

#define REQUIRED(name, failure) required(SysParam::name, #name, &R::name, failure)
#define OPTIONAL(name, fallback) optional(SysParam::name, #name, &R::name, fallback)

const std::vector<SysParamRule>& SysParamRules()
{
    static const std::vector<SysParamRule> rules = {
        REQUIRED(qyny, "没有可利用的启用年月！"),
        REQUIRED(rqssj, "取得日起始时间时出错！"),
        fallbackForUnitType(REQUIRED(dybm, "没有可利用的连锁编码及前台销售柜组编码！"), "", dybmMayBeEmpty),
        REQUIRED(dwmc, "没有可利用的单位名称！"),
        REQUIRED(ysjscdjdbm, "没有可利用的验收价生成定价单部门！"),
        REQUIRED(sjkbbh, "没有可利用的数据库版本号！"),
        REQUIRED(hykls, "没有可利用的会员卡连锁！"),
        OPTIONAL(djfgfs, "0"),
        oneOrZero(REQUIRED(ysqr, "没有可利用的验收确认！")),
        exactKey(oneOrZero(OPTIONAL(ypthphkz, "1"))),
        REQUIRED(sh, "没有可利用的税号！"),
        REQUIRED(dz, "没有可利用的单位地址！"),
        REQUIRED(fgckjb, "没有可利用的分割仓库级别！"),
        fallbackForUnitType(REQUIRED(sphsfs, "没有可利用的商品核算方式！"), "1", isUnitType00),
        REQUIRED(jsxtfs, "没有可利用的结算系统方式！"),
        OPTIONAL(pslssj, "0"),
        REQUIRED(jjcbhsff, "没有可利用的进价成本核算方法！"),
        REQUIRED(sjcbhsff, "没有可利用的售价成本核算方法！"),
        blankIsFallback(OPTIONAL(psxzsl, "100000")),
        blankIsFallback(OPTIONAL(xsxzsl, "100000")),
        blankIsFallback(OPTIONAL(jhxzsl, "100000")),
        REQUIRED(cbjzfs, "没有可利用的成本结转方式！"),
        REQUIRED(lxdh, "没有可利用的联系电话！"),
        REQUIRED(khh, "没有可利用的开户行！"),
        REQUIRED(zh, "没有可利用的账号！"),
        decimalFormat(REQUIRED(sljd, "没有可利用的数量精度！")),
        OPTIONAL(jjkz, "0"),
        REQUIRED(lskz, "没有可利用的连锁控制！"),
        OPTIONAL(kpyxcfsp, "1"),
        OPTIONAL(cpzkspyzbkz, "0"),
        OPTIONAL(jzscltjbc, "0"),
        OPTIONAL(jzsclyxjjsxzpzdp, "0"),
        REQUIRED(psysjscdjd, "没有可利用的配送验收价生成定价单！"),
        REQUIRED(cskz, "没有可利用的厂商控制！"),
        REQUIRED(zrrkz, "没有可利用的责任人控制！"),
        REQUIRED(dddyhs, "没有可利用的订货单打印行数！"),
        blankIsFallback(OPTIONAL(spfzflx, "0")),
        REQUIRED(brddyhs, "没有可利用的拨入单打印行数！"),
        REQUIRED(brdhscfs, "没有可利用的拨入单号生成方式！"),
        OPTIONAL(dddysjj, "0"),
        OPTIONAL(psdahsfg, "1"),
        OPTIONAL(ysdahsfg, "1"),
        OPTIONAL(xsdahsfg, "1"),
        REQUIRED(bcddyhs, "没有可利用的拨出单打印行数！"),
        REQUIRED(tjddyhs, "没有可利用的调价单打印行数！"),
        REQUIRED(bcdhscfs, "没有可利用的拨出单号生成方式！"),
        REQUIRED(sgddyhs, "没有可利用的上柜（直配）单打印行数！"),
        REQUIRED(sgdhscfs, "没有可利用的上柜（直配）单号生成方式！"),
        REQUIRED(ykddyhs, "没有可利用的移库单打印行数！"),
        REQUIRED(ykdhscfs, "没有可利用的移库单号生成方式！"),
        REQUIRED(dbddyhs, "没有可利用的调拨单打印行数！"),
        REQUIRED(dbdhscfs, "没有可利用的调拨单号生成方式！"),
        REQUIRED(jgddyhs, "没有可利用的加工单打印行数！"),
        REQUIRED(jgdhscfs, "没有可利用的加工单号生成方式！"),
        REQUIRED(tbddyhs, "没有可利用的退补单打印行数！"),
        REQUIRED(tbdhscfs, "没有可利用的退补单号生成方式！"),
        REQUIRED(syddyhs, "没有可利用的损溢单打印行数！"),
        REQUIRED(sydhscfs, "没有可利用的损溢单号生成方式！"),
        REQUIRED(ysddyhs, "没有可利用的验收单打印行数！"),
        REQUIRED(ysdhscfs, "没有可利用的验收单号生成方式！"),
        REQUIRED(pdbdyhs, "没有可利用的盘点单打印行数！"),
        REQUIRED(pdbhscfs, "没有可利用的盘点单号生成方式！"),
        REQUIRED(thddyhs, "没有可利用的提货单打印行数！"),
        REQUIRED(ptfpdyhs, "没有可利用的普通发票打印行数！"),
        REQUIRED(thcpbxxdythqd, "没有可利用的退货出票必须先打印退货清单！"),
        REQUIRED(zjdyfs, "没有可利用的整件打印方式！"),
        REQUIRED(ddysfs, "没有可利用的订单验收方式！"),
        REQUIRED(hsdwh, "没有可利用的核算单位号！"),
        REQUIRED(dpckbm, "没有可利用的代配仓库编码！"),
        REQUIRED(dpjfs, "没有可利用的代配价方式！"),
        REQUIRED(thjjclfs, "没有可利用的退货进价处理方式！"),
        REQUIRED(ddyszzfs, "没有可利用的订单验收终止方式！"),
        REQUIRED(ddyxrqqy, "没有可利用的订单有效日期启用！"),
        REQUIRED(ysfs, "没有可利用的验收方式！"),
        REQUIRED(khzqqy, "没有可利用的客户账期启用！"),
        REQUIRED(zkhwlqy, "没有可利用的总客户往来启用！"),
        blankIsFallback(OPTIONAL(hykxc, "0")),
        REQUIRED(xsfkz, "没有可利用的小数分控制！"),
        OPTIONAL(kckz, "1"),
        REQUIRED(hyklwms, "没有可利用的会员卡联网模式！"),
        REQUIRED(yckqzj, "没有可利用的远程卡前置机！"),
        OPTIONAL(mdzdysj, "0"),
        onlyWhen(optional(SysParam::mdzdysj, "mdzdyjj", &R::mdzdyjj, "0"), &R::mdzdysj),
        OPTIONAL(dchy, "0"),
        OPTIONAL(xstbqyrq, ""),
        OPTIONAL(ddbrkz, "0"),
        OPTIONAL(ypphqy, "0"),
        OPTIONAL(zmqy, "0"),
        OPTIONAL(djphmrz, "0"),
        OPTIONAL(ypphchsclfs, "0"),
        OPTIONAL(sxcycbft, "0"),
        OPTIONAL(sxqmpkc, "0"),
        OPTIONAL(xpdjmrsl, "17"),
        OPTIONAL(zbbm, ""),
        OPTIONAL(dztqy, "0"),
        OPTIONAL(ddzxqy, "0"),
        OPTIONAL(psfpbdyhs, "25"),
        OPTIONAL(jjbkzzxzbjj, "0"),
        OPTIONAL(fmlspyjzdsy, "0"),
        OPTIONAL(sxpdsyflfs, "0"),
        OPTIONAL(sxpdsyfzfl, "0"),
        OPTIONAL(ddzxyslxsl, "0"),
        OPTIONAL(ddsczb, "0"),
        OPTIONAL(pdyxcfsp, "1"),
        OPTIONAL(ysxzpssp, "0"),
        OPTIONAL(jekzsptj, "0"),
        OPTIONAL(mdqyrjxstb, "0"),
        OPTIONAL(jzsjzdtj, "0"),
        OPTIONAL(tyspddcsf, "0"),
        REQUIRED(jhddyhs, "没有可利用的拣货单打印行数！"),
        OPTIONAL(ycspl, ""),
        OPTIONAL(hykcszt, "0"),
        OPTIONAL(ddzxsqdtqhb, "1"),
        OPTIONAL(typdrfbmjz, "0"),
        OPTIONAL(hykkhxe, "0"),
        OPTIONAL(dcjdbzrck, ""),
        OPTIONAL(Psdjzycts, "0"),
        OPTIONAL(bbcszbsz, "0"),
        OPTIONAL(djbzkz, "0"),
        OPTIONAL(zysqzlyx, "1"),
        OPTIONAL(dddxsj, "0"),
        OPTIONAL(yszdtb, "0"),
    };
    return rules;
}

#undef REQUIRED
#undef OPTIONAL

} // namespace qiantai
