#include "shared/ParameterCatalogue.h"

#include "platform/Variant.h"
#include "shared/ParameterRows.h"
#include "shared/SysmsgText.h"

#include <iterator>
#include <type_traits>
#include <variant>

using platform::Variant;

namespace {

// How a found value (or a missing row's default, given in the same form) becomes the field.
enum class ValueRule : uint8_t {
    Text,                         // the value as text
    TextOneZero,                  // "1" stays "1", anything else becomes "0"
    TextBlankAsDefault,           // text; blank after trimming gives the default
    Number,                       // 32-bit integer by variant conversion
    NumberFromText,               // the text parsed as a 32-bit integer
    NumberFromTextEmptyAsDefault, // as NumberFromText; the empty text gives the default
    NumberFromTextBlankAsDefault, // as NumberFromText; blank after trimming gives the default
    Flag,                         // true exactly when the value equals "1"
    Real,                         // 64-bit floating point
    PrecisionPattern,             // number n as "0." followed by n zeros
    FlagWithDependent,            // flag; when true, mdzdyjj is looked up as a flag too
};

// When a missing row fails the load instead of taking the default.
enum class Mandatory : uint8_t {
    Never,
    Always,
    ForChainUnits, // unit types "02", "01" and "11"
    UnlessUnit00,  // every unit type except "00"
};

using FieldRef = std::variant<QString TsysmsgInfo::*, int32_t TsysmsgInfo::*, bool TsysmsgInfo::*,
                              double TsysmsgInfo::*>;

struct CatalogueStep {
    const char* key;
    TsysmsgItem item;
    ValueRule rule;
    FieldRef field;
    Mandatory mandatory;
    const char* fallback; // the value a missing row stands for when it is not mandatory
    const char* message;  // the failure when it is
    bool exactCase = false;
};

#define REQ(name, rule, message)                                                                   \
    {                                                                                              \
#name, TsysmsgItem::name, ValueRule::rule, &TsysmsgInfo::name, Mandatory::Always, "",      \
            message                                                                                \
    }
#define OPT(name, rule, fallback)                                                                  \
    {                                                                                              \
#name, TsysmsgItem::name, ValueRule::rule, &TsysmsgInfo::name, Mandatory::Never, fallback, \
            ""                                                                                     \
    }

// clang-format off
const CatalogueStep kCatalogue[] = {
    REQ(qyny, Text, "没有可利用的启用年月！"),
    REQ(rqssj, Text, "取得日起始时间时出错！"),
    {"dybm", TsysmsgItem::dybm, ValueRule::Text, &TsysmsgInfo::dybm, Mandatory::ForChainUnits, "",
     "没有可利用的连锁编码及前台销售柜组编码！"},
    REQ(dwmc, Text, "没有可利用的单位名称！"),
    REQ(ysjscdjdbm, Text, "没有可利用的验收价生成定价单部门！"),
    REQ(sjkbbh, Text, "没有可利用的数据库版本号！"),
    REQ(hykls, Text, "没有可利用的会员卡连锁！"),
    OPT(djfgfs, Text, "0"),
    REQ(ysqr, TextOneZero, "没有可利用的验收确认！"),
    {"ypthphkz", TsysmsgItem::ypthphkz, ValueRule::TextOneZero, &TsysmsgInfo::ypthphkz,
     Mandatory::Never, "1", "", true},
    REQ(sh, Text, "没有可利用的税号！"),
    REQ(dz, Text, "没有可利用的单位地址！"),
    REQ(fgckjb, Number, "没有可利用的分割仓库级别！"),
    {"sphsfs", TsysmsgItem::sphsfs, ValueRule::NumberFromText, &TsysmsgInfo::sphsfs,
     Mandatory::UnlessUnit00, "1", "没有可利用的商品核算方式！"},
    REQ(jsxtfs, NumberFromText, "没有可利用的结算系统方式！"),
    OPT(pslssj, Text, "0"),
    REQ(jjcbhsff, NumberFromText, "没有可利用的进价成本核算方法！"),
    REQ(sjcbhsff, NumberFromText, "没有可利用的售价成本核算方法！"),
    OPT(psxzsl, NumberFromTextBlankAsDefault, "100000"),
    OPT(xsxzsl, NumberFromTextBlankAsDefault, "100000"),
    OPT(jhxzsl, NumberFromTextBlankAsDefault, "100000"),
    REQ(cbjzfs, NumberFromText, "没有可利用的成本结转方式！"),
    REQ(lxdh, Text, "没有可利用的联系电话！"),
    REQ(khh, Text, "没有可利用的开户行！"),
    REQ(zh, Text, "没有可利用的账号！"),
    REQ(sljd, PrecisionPattern, "没有可利用的数量精度！"),
    OPT(jjkz, Flag, "0"),
    REQ(lskz, Flag, "没有可利用的连锁控制！"),
    OPT(kpyxcfsp, Flag, "1"),
    OPT(cpzkspyzbkz, Text, "0"),
    OPT(jzscltjbc, Text, "0"),
    OPT(jzsclyxjjsxzpzdp, Text, "0"),
    REQ(psysjscdjd, Flag, "没有可利用的配送验收价生成定价单！"),
    REQ(cskz, Flag, "没有可利用的厂商控制！"),
    REQ(zrrkz, Flag, "没有可利用的责任人控制！"),
    REQ(dddyhs, Number, "没有可利用的订货单打印行数！"),
    OPT(spfzflx, NumberFromTextEmptyAsDefault, "0"),
    REQ(brddyhs, Number, "没有可利用的拨入单打印行数！"),
    REQ(brdhscfs, Text, "没有可利用的拨入单号生成方式！"),
    OPT(dddysjj, Text, "0"),
    OPT(psdahsfg, Text, "1"),
    OPT(ysdahsfg, Text, "1"),
    OPT(xsdahsfg, Text, "1"),
    REQ(bcddyhs, Number, "没有可利用的拨出单打印行数！"),
    REQ(tjddyhs, Number, "没有可利用的调价单打印行数！"),
    REQ(bcdhscfs, Text, "没有可利用的拨出单号生成方式！"),
    REQ(sgddyhs, Number, "没有可利用的上柜（直配）单打印行数！"),
    REQ(sgdhscfs, Text, "没有可利用的上柜（直配）单号生成方式！"),
    REQ(ykddyhs, Number, "没有可利用的移库单打印行数！"),
    REQ(ykdhscfs, Text, "没有可利用的移库单号生成方式！"),
    REQ(dbddyhs, Number, "没有可利用的调拨单打印行数！"),
    REQ(dbdhscfs, Text, "没有可利用的调拨单号生成方式！"),
    REQ(jgddyhs, Number, "没有可利用的加工单打印行数！"),
    REQ(jgdhscfs, Text, "没有可利用的加工单号生成方式！"),
    REQ(tbddyhs, Number, "没有可利用的退补单打印行数！"),
    REQ(tbdhscfs, Text, "没有可利用的退补单号生成方式！"),
    REQ(syddyhs, Number, "没有可利用的损溢单打印行数！"),
    REQ(sydhscfs, Text, "没有可利用的损溢单号生成方式！"),
    REQ(ysddyhs, Number, "没有可利用的验收单打印行数！"),
    REQ(ysdhscfs, Text, "没有可利用的验收单号生成方式！"),
    REQ(pdbdyhs, Number, "没有可利用的盘点单打印行数！"),
    REQ(pdbhscfs, Text, "没有可利用的盘点单号生成方式！"),
    REQ(thddyhs, Number, "没有可利用的提货单打印行数！"),
    REQ(ptfpdyhs, Number, "没有可利用的普通发票打印行数！"),
    REQ(thcpbxxdythqd, Text, "没有可利用的退货出票必须先打印退货清单！"),
    REQ(zjdyfs, Text, "没有可利用的整件打印方式！"),
    REQ(ddysfs, Text, "没有可利用的订单验收方式！"),
    REQ(hsdwh, Text, "没有可利用的核算单位号！"),
    REQ(dpckbm, Text, "没有可利用的代配仓库编码！"),
    REQ(dpjfs, Text, "没有可利用的代配价方式！"),
    REQ(thjjclfs, Text, "没有可利用的退货进价处理方式！"),
    REQ(ddyszzfs, Number, "没有可利用的订单验收终止方式！"),
    REQ(ddyxrqqy, Number, "没有可利用的订单有效日期启用！"),
    REQ(ysfs, Number, "没有可利用的验收方式！"),
    REQ(khzqqy, Text, "没有可利用的客户账期启用！"),
    REQ(zkhwlqy, Text, "没有可利用的总客户往来启用！"),
    OPT(hykxc, NumberFromTextEmptyAsDefault, "0"),
    REQ(xsfkz, NumberFromText, "没有可利用的小数分控制！"),
    OPT(kckz, Text, "1"),
    REQ(hyklwms, Text, "没有可利用的会员卡联网模式！"),
    REQ(yckqzj, Text, "没有可利用的远程卡前置机！"),
    OPT(mdzdysj, FlagWithDependent, "0"),
    OPT(dchy, Flag, "0"),
    OPT(xstbqyrq, Text, ""),
    OPT(ddbrkz, Flag, "0"),
    OPT(ypphqy, Text, "0"),
    OPT(zmqy, Text, "0"),
    OPT(djphmrz, Text, "0"),
    OPT(ypphchsclfs, Text, "0"),
    OPT(sxcycbft, Text, "0"),
    OPT(sxqmpkc, Text, "0"),
    OPT(xpdjmrsl, Real, "17"),
    OPT(zbbm, Text, ""),
    OPT(dztqy, Flag, "0"),
    OPT(ddzxqy, Flag, "0"),
    OPT(psfpbdyhs, Number, "25"),
    OPT(jjbkzzxzbjj, Flag, "0"),
    OPT(fmlspyjzdsy, Flag, "0"),
    OPT(sxpdsyflfs, Number, "0"),
    OPT(sxpdsyfzfl, NumberFromTextBlankAsDefault, "0"),
    OPT(ddzxyslxsl, Text, "0"),
    OPT(ddsczb, Flag, "0"),
    OPT(pdyxcfsp, Flag, "1"),
    OPT(ysxzpssp, Flag, "0"),
    OPT(jekzsptj, Flag, "0"),
    OPT(mdqyrjxstb, Flag, "0"),
    OPT(jzsjzdtj, Flag, "0"),
    OPT(tyspddcsf, Text, "0"),
    REQ(jhddyhs, Number, "没有可利用的拣货单打印行数！"),
    OPT(ycspl, Text, ""),
    OPT(hykcszt, Text, "0"),
    OPT(ddzxsqdtqhb, Text, "1"),
    OPT(typdrfbmjz, Text, "0"),
    OPT(hykkhxe, Number, "0"),
    OPT(dcjdbzrck, Text, ""),
    OPT(Psdjzycts, Number, "0"),
    OPT(bbcszbsz, Flag, "0"),
    OPT(djbzkz, Text, "0"),
    OPT(zysqzlyx, Flag, "1"),
    OPT(cgthsqsh, Flag, "0"),
    OPT(jzspzbz, Flag, "0"),
    OPT(dddxsj, Text, "0"),
    OPT(tmzbmcqz, TextBlankAsDefault, "2"),
    OPT(BalanceWorkFlow, NumberFromText, "0"),
    OPT(SpecialAuditCyc, NumberFromText, "0"),
};
// clang-format on

#undef REQ
#undef OPT

static_assert(std::size(kCatalogue) == 125);

bool isMandatory(Mandatory mandatory, const QString& unitType)
{
    switch (mandatory) {
    case Mandatory::Never:
        return false;
    case Mandatory::Always:
        return true;
    case Mandatory::ForChainUnits:
        return unitType == u"02" || unitType == u"01" || unitType == u"11";
    case Mandatory::UnlessUnit00:
        return unitType != u"00";
    }
    return true;
}

bool isFlagSet(const Variant& value)
{
    if (value.isNull() || value.isEmpty() || value.isBytes() || value.isArray())
        return false;
    return value.toText() == u"1";
}

// "number": a numeric value as it is; a text read as a number, blanks around it allowed and
// a fraction rounded as a real value is (a half to the even neighbour). A text that is no
// number raises the variant's conversion error.
int32_t numberOfValue(const platform::Variant& value)
{
    if (!value.isText())
        return value.toInt32();
    bool isNumber = false;
    const double number = TrimBlanks(value.toText()).toDouble(&isNumber);
    return isNumber ? platform::Variant(number).toInt32() : value.toInt32();
}

int32_t numberFromText(const QString& text, bool useFallback, const char* fallback)
{
    return platform::textToInt32(useFallback ? QString::fromUtf8(fallback) : text);
}

Variant applyRule(ValueRule rule, const Variant& value, const char* fallback)
{
    switch (rule) {
    case ValueRule::Text:
        return value.toText();
    case ValueRule::TextOneZero:
        return value.toText() == u"1" ? QStringLiteral("1") : QStringLiteral("0");
    case ValueRule::TextBlankAsDefault: {
        const QString text = value.toText();
        return TrimBlanks(text).isEmpty() ? QString::fromUtf8(fallback) : text;
    }
    case ValueRule::Number:
        return numberOfValue(value);
    case ValueRule::NumberFromText:
        return platform::textToInt32(value.toText());
    case ValueRule::NumberFromTextEmptyAsDefault: {
        const QString text = value.toText();
        return numberFromText(text, text.isEmpty(), fallback);
    }
    case ValueRule::NumberFromTextBlankAsDefault: {
        const QString text = value.toText();
        return numberFromText(text, TrimBlanks(text).isEmpty(), fallback);
    }
    case ValueRule::Flag:
    case ValueRule::FlagWithDependent:
        return isFlagSet(value);
    case ValueRule::Real:
        return value.toDouble();
    case ValueRule::PrecisionPattern:
        return QStringLiteral("0.") + ZeroPadNumber(value.toInt32(), true, 0);
    }
    return value;
}

void storeField(TsysmsgInfo& info, const FieldRef& field, const Variant& value)
{
    std::visit(
        [&](auto member) {
            using Type = std::remove_reference_t<decltype(info.*member)>;
            if constexpr (std::is_same_v<Type, QString>)
                info.*member = value.toText();
            else if constexpr (std::is_same_v<Type, int32_t>)
                info.*member = value.toInt32();
            else if constexpr (std::is_same_v<Type, bool>)
                info.*member = value.toBool();
            else
                info.*member = value.toDouble();
        },
        field);
}

} // namespace

bool ApplyParameterCatalogue(ParameterRows& rows, const TsysmsgItems& items, TsysmsgInfo& info,
                             QString& errorText)
{
    for (const CatalogueStep& step : kCatalogue) {
        if (!items.contains(step.item))
            continue;
        Variant value;
        if (!rows.find(QString::fromUtf8(step.key), step.exactCase, value)) {
            if (isMandatory(step.mandatory, info.dwlx)) {
                errorText = QString::fromUtf8(step.message);
                return false;
            }
            value = QString::fromUtf8(step.fallback);
        }
        const Variant result = applyRule(step.rule, value, step.fallback);
        storeField(info, step.field, result);

        if (step.rule == ValueRule::FlagWithDependent) {
            // mdzdyjj counts only while mdzdysj is set; a missing row is false.
            Variant dependent;
            info.mdzdyjj = result.toBool() &&
                           rows.find(QStringLiteral("mdzdyjj"), false, dependent) &&
                           isFlagSet(dependent);
        }
    }
    return true;
}

int ParameterCatalogueSize()
{
    return int(std::size(kCatalogue));
}

QString ParameterCatalogueKey(int index)
{
    return QString::fromUtf8(kCatalogue[index].key);
}
