#pragma once

#include <QString>
#include <bitset>
#include <cstdint>
#include <initializer_list>

// System information and system parameters of the installation, filled in place by
// TNelvoClass::GetSysmsgInfo. The loader never clears the record: a field the selection
// does not reach keeps its value. Fields named after a parameter key hold that parameter;
// sljd holds the display pattern built from the quantity precision.
struct TsysmsgInfo {
    QString qyny, curYearMonth, dbType, curDateTime, curDate, operatorCode, operatorName, dwmc, sh,
        dz, lxdh, khh, zh, dwlx, dybm, hykls, sljd;
    bool lskz = false, jjkz = false, cskz = false, zrrkz = false;
    int32_t dddyhs = 0, sphsfs = 0, jjcbhsff = 0, sjcbhsff = 0, cbjzfs = 0, jsxtfs = 0;
    QString rqssj;
    int32_t fgckjb = 0, brddyhs = 0;
    QString brdhscfs;
    int32_t bcddyhs = 0;
    QString bcdhscfs;
    int32_t dbddyhs = 0;
    QString dbdhscfs;
    int32_t jgddyhs = 0;
    QString jgdhscfs;
    int32_t sgddyhs = 0;
    QString sgdhscfs;
    int32_t tbddyhs = 0;
    QString tbdhscfs;
    int32_t ykddyhs = 0;
    QString ykdhscfs;
    int32_t syddyhs = 0;
    QString sydhscfs;
    int32_t ysddyhs = 0;
    QString ysdhscfs;
    int32_t pdbdyhs = 0;
    QString pdbhscfs, psdahsfg, ysdahsfg, xsdahsfg;
    int32_t thddyhs = 0, tjddyhs = 0, ptfpdyhs = 0, spfzflx = 0;
    bool kpyxcfsp = false;
    QString djfgfs;
    int32_t psxzsl = 0, xsxzsl = 0, jhxzsl = 0;
    QString thcpbxxdythqd, zjdyfs, ddysfs, hsdwh, dpckbm, dpjfs, pslssj, thjjclfs, sjkbbh;
    bool psysjscdjd = false;
    QString ysjscdjdbm;
    int32_t ddyszzfs = 0, ddyxrqqy = 0, ysfs = 0;
    QString dddysjj, cpzkspyzbkz, jzscltjbc, jzsclyxjjsxzpzdp, ysqr, khzqqy, zkhwlqy;
    int32_t hykxc = 0, xsfkz = 0;
    QString kckz, hyklwms, yckqzj;
    bool mdzdyjj = false, mdzdysj = false, dchy = false;
    QString xstbqyrq;
    bool ddbrkz = false;
    QString ypphqy, zmqy, djphmrz, ypphchsclfs, ypthphkz, sxcycbft, sxqmpkc;
    double xpdjmrsl = 0.0;
    QString zbbm;
    bool dztqy = false, ddzxqy = false;
    int32_t psfpbdyhs = 0;
    bool jjbkzzxzbjj = false, fmlspyjzdsy = false;
    int32_t sxpdsyflfs = 0, sxpdsyfzfl = 0;
    QString ddzxyslxsl;
    bool ddsczb = false, pdyxcfsp = false, ysxzpssp = false, jekzsptj = false, mdqyrjxstb = false,
         jzsjzdtj = false;
    QString tyspddcsf;
    int32_t jhddyhs = 0;
    QString ycspl, hykcszt, ddzxsqdtqhb, typdrfbmjz;
    int32_t hykkhxe = 0;
    QString dcjdbzrck;
    int32_t Psdjzycts = 0;
    bool bbcszbsz = false;
    QString djbzkz;
    bool zysqzlyx = false, cgthsqsh = false;
    QString dddxsj, tmzbmcqz;
    bool jzspzbz = false;
    int32_t BalanceWorkFlow = 0, SpecialAuditCyc = 0;
};

// What GetSysmsgInfo loads: one member per step, in enumeration order. A member named
// after a parameter key loads the field of that name; mdzdysj loads mdzdysj and mdzdyjj.
enum class TsysmsgItem : uint8_t {
    qyny,
    curYearMonth,
    curDateTime,
    curDate,
    operatorName,
    dwmc,
    sh,
    dz,
    lxdh,
    khh,
    zh,
    ysqr,
    dybm,
    sljd,
    lskz,
    jjkz,
    cskz,
    fgckjb,
    sphsfs,
    jjcbhsff,
    sjcbhsff,
    ypthphkz,
    cbjzfs,
    zrrkz,
    dddyhs,
    brddyhs,
    brdhscfs,
    bcddyhs,
    bcdhscfs,
    cpzkspyzbkz,
    ysxzpssp,
    dbddyhs,
    dbdhscfs,
    jgddyhs,
    jgdhscfs,
    sgddyhs,
    sgdhscfs,
    rqssj,
    jzscltjbc,
    jzsclyxjjsxzpzdp,
    tbddyhs,
    tbdhscfs,
    ykddyhs,
    ykdhscfs,
    syddyhs,
    sydhscfs,
    ysddyhs,
    ysdhscfs,
    psdahsfg,
    ysdahsfg,
    xsdahsfg,
    pdbhscfs,
    pdbdyhs,
    thddyhs,
    ptfpdyhs,
    thcpbxxdythqd,
    zjdyfs,
    ddysfs,
    tjddyhs,
    jsxtfs,
    pslssj,
    hsdwh,
    dpckbm,
    dpjfs,
    thjjclfs,
    ddyszzfs,
    ddyxrqqy,
    ysfs,
    hykls,
    sjkbbh,
    psysjscdjd,
    kpyxcfsp,
    ysjscdjdbm,
    spfzflx,
    djfgfs,
    psxzsl,
    xsxzsl,
    jhxzsl,
    dddysjj,
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
    tmzbmcqz,
    cgthsqsh,
    jzspzbz,
    BalanceWorkFlow,
    SpecialAuditCyc
};

constexpr int TsysmsgItemCount = int(TsysmsgItem::SpecialAuditCyc) + 1;

// A set of TsysmsgItem members.
class TsysmsgItems {
public:
    TsysmsgItems() = default;
    TsysmsgItems(std::initializer_list<TsysmsgItem> items)
    {
        for (TsysmsgItem item : items)
            insert(item);
    }

    // Every member.
    static TsysmsgItems all()
    {
        TsysmsgItems set;
        set.m_bits.set();
        return set;
    }

    bool contains(TsysmsgItem item) const { return m_bits.test(std::size_t(item)); }
    void insert(TsysmsgItem item) { m_bits.set(std::size_t(item)); }
    void remove(TsysmsgItem item) { m_bits.reset(std::size_t(item)); }
    bool isEmpty() const { return m_bits.none(); }
    int count() const { return int(m_bits.count()); }

    TsysmsgItems operator-(const TsysmsgItems& other) const
    {
        TsysmsgItems set;
        set.m_bits = m_bits & ~other.m_bits;
        return set;
    }
    friend bool operator==(const TsysmsgItems& a, const TsysmsgItems& b) = default;

private:
    std::bitset<TsysmsgItemCount> m_bits;
};
