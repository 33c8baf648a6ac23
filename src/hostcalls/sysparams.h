// The store's system parameters: the record the loader fills and the set of
// fields a caller asks for.
#pragma once

#include <QString>

#include <bitset>
#include <initializer_list>

namespace qiantai {

// One field per parameter, in the order of the parameter table. Only
// OperatorCode is an input; DatabaseType is written by every load and dwlx by
// every load that reads tbSysmsg; every other field only when requested.
struct TSysParamRecord {
    QString qyny;
    QString CurrentYearMonth;
    QString DatabaseType;
    QString CurrentDateTime;
    QString CurrentDate;
    QString OperatorCode;
    QString OperatorName;
    QString dwmc;
    QString sh;
    QString dz;
    QString lxdh;
    QString khh;
    QString zh;
    QString dwlx;
    QString dybm;
    QString hykls;
    QString sljd;
    bool lskz = false;
    bool jjkz = false;
    bool cskz = false;
    bool zrrkz = false;
    int dddyhs = 0;
    int sphsfs = 0;
    int jjcbhsff = 0;
    int sjcbhsff = 0;
    int cbjzfs = 0;
    int jsxtfs = 0;
    QString rqssj;
    int fgckjb = 0;
    int brddyhs = 0;
    QString brdhscfs;
    int bcddyhs = 0;
    QString bcdhscfs;
    int dbddyhs = 0;
    QString dbdhscfs;
    int jgddyhs = 0;
    QString jgdhscfs;
    int sgddyhs = 0;
    QString sgdhscfs;
    int tbddyhs = 0;
    QString tbdhscfs;
    int ykddyhs = 0;
    QString ykdhscfs;
    int syddyhs = 0;
    QString sydhscfs;
    int ysddyhs = 0;
    QString ysdhscfs;
    int pdbdyhs = 0;
    QString pdbhscfs;
    QString psdahsfg;
    QString ysdahsfg;
    QString xsdahsfg;
    int thddyhs = 0;
    int tjddyhs = 0;
    int ptfpdyhs = 0;
    int spfzflx = 0;
    bool kpyxcfsp = false;
    QString djfgfs;
    int psxzsl = 0;
    int xsxzsl = 0;
    int jhxzsl = 0;
    QString thcpbxxdythqd;
    QString zjdyfs;
    QString ddysfs;
    QString hsdwh;
    QString dpckbm;
    QString dpjfs;
    QString pslssj;
    QString thjjclfs;
    QString sjkbbh;
    bool psysjscdjd = false;
    QString ysjscdjdbm;
    int ddyszzfs = 0;
    int ddyxrqqy = 0;
    int ysfs = 0;
    QString dddysjj;
    QString cpzkspyzbkz;
    QString jzscltjbc;
    QString jzsclyxjjsxzpzdp;
    QString ysqr;
    QString khzqqy;
    QString zkhwlqy;
    int hykxc = 0;
    int xsfkz = 0;
    QString kckz;
    QString hyklwms;
    QString yckqzj;
    bool mdzdyjj = false;
    bool mdzdysj = false;
    bool dchy = false;
    QString xstbqyrq;
    bool ddbrkz = false;
    QString ypphqy;
    QString zmqy;
    QString djphmrz;
    QString ypphchsclfs;
    QString ypthphkz;
    QString sxcycbft;
    QString sxqmpkc;
    double xpdjmrsl = 0;
    QString zbbm;
    bool dztqy = false;
    bool ddzxqy = false;
    int psfpbdyhs = 0;
    bool jjbkzzxzbjj = false;
    bool fmlspyjzdsy = false;
    int sxpdsyflfs = 0;
    int sxpdsyfzfl = 0;
    QString ddzxyslxsl;
    bool ddsczb = false;
    bool pdyxcfsp = false;
    bool ysxzpssp = false;
    bool jekzsptj = false;
    bool mdqyrjxstb = false;
    bool jzsjzdtj = false;
    QString tyspddcsf;
    int jhddyhs = 0;
    QString ycspl;
    QString hykcszt;
    QString ddzxsqdtqhb;
    QString typdrfbmjz;
    int hykkhxe = 0;
    QString dcjdbzrck;
    int Psdjzycts = 0;
    bool bbcszbsz = false;
    QString djbzkz;
    bool zysqzlyx = false;
    QString dddxsj;
    bool yszdtb = false;
};

// The loadable fields. DatabaseType, OperatorCode and dwlx have no member;
// mdzdysj also governs mdzdyjj.
enum class SysParam {
    qyny,
    CurrentYearMonth,
    CurrentDateTime,
    CurrentDate,
    OperatorName,
    dwmc,
    sh,
    dz,
    lxdh,
    khh,
    zh,
    dybm,
    hykls,
    sljd,
    lskz,
    jjkz,
    cskz,
    zrrkz,
    dddyhs,
    sphsfs,
    jjcbhsff,
    sjcbhsff,
    cbjzfs,
    jsxtfs,
    rqssj,
    fgckjb,
    brddyhs,
    brdhscfs,
    bcddyhs,
    bcdhscfs,
    dbddyhs,
    dbdhscfs,
    jgddyhs,
    jgdhscfs,
    sgddyhs,
    sgdhscfs,
    tbddyhs,
    tbdhscfs,
    ykddyhs,
    ykdhscfs,
    syddyhs,
    sydhscfs,
    ysddyhs,
    ysdhscfs,
    pdbdyhs,
    pdbhscfs,
    psdahsfg,
    ysdahsfg,
    xsdahsfg,
    thddyhs,
    tjddyhs,
    ptfpdyhs,
    spfzflx,
    kpyxcfsp,
    djfgfs,
    psxzsl,
    xsxzsl,
    jhxzsl,
    thcpbxxdythqd,
    zjdyfs,
    ddysfs,
    hsdwh,
    dpckbm,
    dpjfs,
    pslssj,
    thjjclfs,
    sjkbbh,
    psysjscdjd,
    ysjscdjdbm,
    ddyszzfs,
    ddyxrqqy,
    ysfs,
    dddysjj,
    cpzkspyzbkz,
    jzscltjbc,
    jzsclyxjjsxzpzdp,
    ysqr,
    khzqqy,
    zkhwlqy,
    hykxc,
    xsfkz,
    kckz,
    hyklwms,
    yckqzj,
    mdzdysj,
    dchy,
    xstbqyrq,
    ddbrkz,
    ypphqy,
    zmqy,
    djphmrz,
    ypphchsclfs,
    ypthphkz,
    sxcycbft,
    sxqmpkc,
    xpdjmrsl,
    zbbm,
    dztqy,
    ddzxqy,
    psfpbdyhs,
    jjbkzzxzbjj,
    fmlspyjzdsy,
    sxpdsyflfs,
    sxpdsyfzfl,
    ddzxyslxsl,
    ddsczb,
    pdyxcfsp,
    ysxzpssp,
    jekzsptj,
    mdqyrjxstb,
    jzsjzdtj,
    tyspddcsf,
    jhddyhs,
    ycspl,
    hykcszt,
    ddzxsqdtqhb,
    typdrfbmjz,
    hykkhxe,
    dcjdbzrck,
    Psdjzycts,
    bbcszbsz,
    djbzkz,
    zysqzlyx,
    dddxsj,
    yszdtb,
    Count_
};

constexpr int SysParamCount = int(SysParam::Count_);

// A set of SysParam.
class TSysParamSet {
public:
    TSysParamSet() = default;
    TSysParamSet(std::initializer_list<SysParam> members)
    {
        for (SysParam m : members)
            insert(m);
    }

    void insert(SysParam m) { bits_.set(std::size_t(m)); }
    void remove(SysParam m) { bits_.reset(std::size_t(m)); }
    bool contains(SysParam m) const { return bits_.test(std::size_t(m)); }
    bool isEmpty() const { return bits_.none(); }
    int count() const { return int(bits_.count()); }
    bool operator==(const TSysParamSet& o) const { return bits_ == o.bits_; }
    bool operator!=(const TSysParamSet& o) const { return bits_ != o.bits_; }

    // Every loadable field.
    static TSysParamSet all()
    {
        TSysParamSet s;
        s.bits_.set();
        return s;
    }

private:
    std::bitset<SysParamCount> bits_;
};

// What the sales screen asks for when it starts.
inline TSysParamSet SalesScreenParams()
{
    return {SysParam::qyny, SysParam::CurrentYearMonth, SysParam::dwmc,
            SysParam::dybm, SysParam::sjkbbh,           SysParam::xsfkz,
            SysParam::kckz, SysParam::hyklwms,          SysParam::yckqzj};
}

} // namespace qiantai
