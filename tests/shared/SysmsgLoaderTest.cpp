#include "SysmsgFixture.h"

#include "shared/ParameterCatalogue.h"

#include <QSet>
#include <QTest>
#include <functional>

using platform::Variant;
using testsupport::ScriptedAnswer;
namespace CoorDisp = platform::CoorDisp;

namespace {

const QString kNullToText =
    QStringLiteral("Could not convert variant of type (Null) into type (String)");

// The fields the catalogue cases look at, as text.
QString fieldText(const TsysmsgInfo& info, const QString& name)
{
    const QHash<QString, std::function<QString()>> fields{
        {"dybm", [&] { return info.dybm; }},
        {"sphsfs", [&] { return QString::number(info.sphsfs); }},
        {"sljd", [&] { return info.sljd; }},
        {"psxzsl", [&] { return QString::number(info.psxzsl); }},
        {"mdzdysj/mdzdyjj",
         [&] { return QStringLiteral("%1/%2").arg(int(info.mdzdysj)).arg(int(info.mdzdyjj)); }},
        {"tmzbmcqz", [&] { return info.tmzbmcqz; }},
        {"ysqr", [&] { return info.ysqr; }},
        {"ypthphkz", [&] { return info.ypthphkz; }},
        {"xpdjmrsl", [&] { return QString::number(info.xpdjmrsl); }},
        {"spfzflx", [&] { return QString::number(info.spfzflx); }},
        {"sxpdsyfzfl", [&] { return QString::number(info.sxpdsyfzfl); }},
        {"lskz", [&] { return QString::number(int(info.lskz)); }},
        {"kpyxcfsp", [&] { return QString::number(int(info.kpyxcfsp)); }},
        {"psfpbdyhs", [&] { return QString::number(info.psfpbdyhs); }},
        {"dddyhs", [&] { return QString::number(info.dddyhs); }},
        {"djfgfs", [&] { return info.djfgfs; }},
        {"xstbqyrq", [&] { return info.xstbqyrq; }},
    };
    return fields.value(name, [] { return QStringLiteral("<no such field in test>"); })();
}

// Sentinels that show whether a step wrote a field.
void fillOldValues(TsysmsgInfo& info)
{
    info.dybm = info.xstbqyrq = info.dwmc = info.dz = info.sh = info.dwlx = QStringLiteral("old");
    info.sphsfs = info.psxzsl = -99;
    info.mdzdyjj = true;
}

} // namespace

class TestSysmsgLoader : public QObject {
    Q_OBJECT
private slots:
    void serverValuesOnlyEndEarly();
    void dateTimeAloneLoadsParameters_data();
    void dateTimeAloneLoadsParameters();
    void operatorNameSkippedWithoutCode();
    void operatorNameFromEmployeePacket_data();
    void operatorNameFromEmployeePacket();
    void currentDateCut_data();
    void currentDateCut();
    void firstFailingServerCallWins_data();
    void firstFailingServerCallWins();
    void raisedErrorEndsLoad();
    void lookup_data();
    void lookup();
    void catalogueSteps_data();
    void catalogueSteps();
    void fullPacketLoadsEveryField();
    void numericValues();
    void failureKeepsEarlierAndLaterFields();
    void firstMissingMandatoryDecides();
    void missingColumnEndsLoad();
    void catalogueKeysAreDistinct();
};

void TestSysmsgLoader::serverValuesOnlyEndEarly()
{
    SysmsgFixture f;
    f.session.dbType = QStringLiteral("ORACLE");
    f.info.dwlx = QStringLiteral("old");
    f.server->queue(CoorDisp::GetServerYearMonth, ScriptedAnswer::success("202405"));
    f.server->queue(CoorDisp::GetServerDate, ScriptedAnswer::success("20240517"));

    QVERIFY(f.load({TsysmsgItem::curYearMonth, TsysmsgItem::curDate}));
    QCOMPARE(f.callIds(), (QList<int32_t>{CoorDisp::GetServerYearMonth, CoorDisp::GetServerDate}));
    QCOMPARE(f.info.curYearMonth, QStringLiteral("202405"));
    QCOMPARE(f.info.curDate, QStringLiteral("20240517"));
    QCOMPARE(f.info.dbType, QStringLiteral("ORACLE"));
    QCOMPARE(f.info.dwlx, QStringLiteral("old"));
    QVERIFY(f.unitType.isEmpty());
    QVERIFY(f.errorText.isEmpty());
}

void TestSysmsgLoader::dateTimeAloneLoadsParameters_data()
{
    QTest::addColumn<bool>("withUnitType");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("error");
    QTest::newRow("dwlx present") << true << true << QString();
    QTest::newRow("dwlx missing") << false << false << QStringLiteral("没有可利用的单位类型！");
}

void TestSysmsgLoader::dateTimeAloneLoadsParameters()
{
    QFETCH(bool, withUnitType);
    QFETCH(bool, ok);
    QFETCH(QString, error);
    SysmsgFixture f;
    f.server->queue(CoorDisp::GetServerDateTime, ScriptedAnswer::success("2024-05-17 09:30:00"));
    QList<SysmsgFixture::Row> rows{{"dwmc", Variant("某单位")}};
    if (withUnitType)
        rows.append({"dwlx", Variant("11")});
    f.setParameters(rows);

    QCOMPARE(f.load({TsysmsgItem::curDateTime}), ok);
    QCOMPARE(f.errorText, error);
    QCOMPARE(f.callIds(),
             (QList<int32_t>{CoorDisp::GetServerDateTime, CoorDisp::GetSystemParameters}));
    QCOMPARE(f.info.curDateTime, QStringLiteral("2024-05-17 09:30:00"));
    QCOMPARE(f.unitType, withUnitType ? QStringLiteral("11") : QString());
    QCOMPARE(f.info.dwlx, withUnitType ? QStringLiteral("11") : QString());
}

void TestSysmsgLoader::operatorNameSkippedWithoutCode()
{
    SysmsgFixture f;
    f.info.operatorName = QStringLiteral("unchanged");
    QVERIFY(f.load({TsysmsgItem::operatorName}));
    QVERIFY(f.server->calls().isEmpty());
    QCOMPARE(f.info.operatorName, QStringLiteral("unchanged"));
}

void TestSysmsgLoader::operatorNameFromEmployeePacket_data()
{
    QTest::addColumn<QList<QList<Variant>>>("rows");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    QTest::newRow("first row") << QList<QList<Variant>>{{Variant("张三")}, {Variant("李四")}}
                               << true << QStringLiteral("张三") << QString();
    QTest::newRow("no rows: unknown operator")
        << QList<QList<Variant>>{} << false << QStringLiteral("old")
        << QStringLiteral("取得制单人名称时出错！！");
    QTest::newRow("null name: null to text") << QList<QList<Variant>>{{Variant::null()}} << false
                                             << QStringLiteral("old") << kNullToText;
}

void TestSysmsgLoader::operatorNameFromEmployeePacket()
{
    QFETCH(QList<QList<Variant>>, rows);
    QFETCH(bool, ok);
    QFETCH(QString, name);
    QFETCH(QString, error);
    SysmsgFixture f;
    f.info.operatorCode = QStringLiteral("0012");
    f.info.operatorName = QStringLiteral("old");
    f.server->queue(CoorDisp::GetEmployeeName,
                    ScriptedAnswer::success(testsupport::makePacket({"F_ZYMC"}, rows)));

    QCOMPARE(f.load({TsysmsgItem::operatorName}), ok);
    QCOMPARE(f.errorText, error);
    QCOMPARE(f.info.operatorName, name);
    const QList<testsupport::ScriptedServer::Call> calls = f.server->calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].dispId, CoorDisp::GetEmployeeName);
    QCOMPARE(calls[0].arguments, (QList<Variant>{Variant(int32_t(1)), Variant("0012")}));
    QCOMPARE(calls[0].byRef, (QList<bool>{false, true}));
}

void TestSysmsgLoader::currentDateCut_data()
{
    QTest::addColumn<QString>("serverText");
    QTest::addColumn<QString>("curDate");
    QTest::newRow("date and time") << "20240517093015"
                                   << "20240517";
    QTest::newRow("short text stays whole") << "202405"
                                            << "202405";
}

void TestSysmsgLoader::currentDateCut()
{
    QFETCH(QString, serverText);
    QFETCH(QString, curDate);
    SysmsgFixture f;
    f.server->queue(CoorDisp::GetServerDate, ScriptedAnswer::success(serverText));
    QVERIFY(f.load({TsysmsgItem::curDate}));
    QCOMPARE(f.info.curDate, curDate);
}

void TestSysmsgLoader::firstFailingServerCallWins_data()
{
    QTest::addColumn<int>("failingCall"); // index into the call order
    QTest::addColumn<QString>("error");
    QTest::newRow("year-month") << 0 << QStringLiteral("取得当前年月时出错！");
    QTest::newRow("date-time") << 1 << QStringLiteral("取得当前日期时间时出错！");
    QTest::newRow("date") << 2 << QStringLiteral("取得当前日期时出错！");
    QTest::newRow("employee") << 3 << QStringLiteral("取得制单人名称时出错！！");
    QTest::newRow("parameters") << 4 << QStringLiteral("取得系统参数时出错！");
}

void TestSysmsgLoader::firstFailingServerCallWins()
{
    QFETCH(int, failingCall);
    QFETCH(QString, error);
    const int32_t order[] = {CoorDisp::GetServerYearMonth, CoorDisp::GetServerDateTime,
                             CoorDisp::GetServerDate, CoorDisp::GetEmployeeName,
                             CoorDisp::GetSystemParameters};
    const Variant results[] = {Variant("202405"), Variant("20240517 0930"), Variant("20240517"),
                               testsupport::makePacket({"f_zymc"}, {{Variant("张三")}}), Variant()};
    SysmsgFixture f;
    f.info.operatorCode = QStringLiteral("01");
    f.setParameters(SysmsgFixture::fullRows());
    for (int i = 0; i < 4; ++i) {
        if (i < failingCall)
            f.server->queue(order[i], ScriptedAnswer::success(results[i]));
    }
    // This call and every later one fail; the first failure decides the message.
    for (int i = failingCall; i < 5; ++i)
        f.server->queue(order[i], ScriptedAnswer::failure({"server says no"}));

    QVERIFY(!f.load(TsysmsgItems::all()));
    QCOMPARE(f.errorText, error);
    QCOMPARE(f.callIds(), QList<int32_t>(order, order + failingCall + 1));
}

void TestSysmsgLoader::raisedErrorEndsLoad()
{
    SysmsgFixture f;
    f.server->queue(CoorDisp::GetServerYearMonth, ScriptedAnswer::success("202405"));
    f.server->queue(CoorDisp::GetServerDate, ScriptedAnswer::throwing("连接已断开"));
    QVERIFY(!f.load({TsysmsgItem::curYearMonth, TsysmsgItem::curDate}));
    QCOMPARE(f.errorText, QStringLiteral("连接已断开"));
    QCOMPARE(f.info.curYearMonth, QStringLiteral("202405"));
}

void TestSysmsgLoader::lookup_data()
{
    QTest::addColumn<QList<SysmsgFixture::Row>>("rows");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("dwlx");
    QTest::addColumn<QString>("dwmc");
    QTest::addColumn<QString>("ypthphkz");
    using Rows = QList<SysmsgFixture::Row>;
    QTest::newRow("dwlx in capitals")
        << Rows{{"DWLX", Variant("01")}, {"dwmc", Variant("甲")}} << true << "01"
        << "甲"
        << "1";
    QTest::newRow("ypthphkz in capitals is missing")
        << Rows{{"dwlx", Variant("00")}, {"YPTHPHKZ", Variant("0")}} << true << "00"
        << "old"
        << "1";
    QTest::newRow("ypthphkz exact")
        << Rows{{"dwlx", Variant("00")}, {"ypthphkz", Variant("0")}} << true << "00"
        << "old"
        << "0";
    QTest::newRow("first of two rows wins") << Rows{{"dwlx", Variant("02")},
                                                    {"Dwmc", Variant("甲")},
                                                    {"dwmc", Variant("乙")},
                                                    {"dwlx", Variant("00")}}
                                            << true << "02"
                                            << "甲"
                                            << "1";
    QTest::newRow("empty value is found")
        << Rows{{"dwlx", Variant("")}, {"dwmc", Variant("")}} << true << ""
        << ""
        << "1";
    QTest::newRow("key matched as a whole")
        << Rows{{"dwlx2", Variant("01")}, {"dwl", Variant("01")}} << false << "old"
        << "old"
        << "old";
}

void TestSysmsgLoader::lookup()
{
    QFETCH(QList<SysmsgFixture::Row>, rows);
    QFETCH(bool, ok);
    QFETCH(QString, dwlx);
    QFETCH(QString, dwmc);
    QFETCH(QString, ypthphkz);
    SysmsgFixture f;
    fillOldValues(f.info);
    f.info.ypthphkz = QStringLiteral("old");
    f.setParameters(rows);
    QCOMPARE(f.load({TsysmsgItem::ypthphkz}), ok);
    QCOMPARE(f.info.dwlx, dwlx);
    QCOMPARE(f.info.ypthphkz, ypthphkz);
    if (dwmc != u"old") {
        QVERIFY(f.load({TsysmsgItem::dwmc}));
        QCOMPARE(f.info.dwmc, dwmc);
    }
}

void TestSysmsgLoader::catalogueSteps_data()
{
    QTest::addColumn<QString>("dwlx");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QStringList>("values"); // key=value, replacing or adding rows
    QTest::addColumn<QString>("error");      // empty: the load succeeds
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    const QString chainMessage = QStringLiteral("没有可利用的连锁编码及前台销售柜组编码！");
    const QString accountingMessage = QStringLiteral("没有可利用的商品核算方式！");
    QTest::newRow("dybm missing, unit 00") << "00" << QStringList{"dybm"} << QStringList{} << ""
                                           << "dybm"
                                           << "";
    QTest::newRow("dybm missing, unit 12") << "12" << QStringList{"dybm"} << QStringList{} << ""
                                           << "dybm"
                                           << "";
    QTest::newRow("dybm missing, unit 01")
        << "01" << QStringList{"dybm"} << QStringList{} << chainMessage << "dybm"
        << "old";
    QTest::newRow("dybm missing, unit 02")
        << "02" << QStringList{"dybm"} << QStringList{} << chainMessage << "dybm"
        << "old";
    QTest::newRow("dybm missing, unit 11")
        << "11" << QStringList{"dybm"} << QStringList{} << chainMessage << "dybm"
        << "old";
    QTest::newRow("sphsfs missing, unit 00") << "00" << QStringList{"sphsfs"} << QStringList{} << ""
                                             << "sphsfs"
                                             << "1";
    QTest::newRow("sphsfs missing, unit 01")
        << "01" << QStringList{"sphsfs"} << QStringList{} << accountingMessage << "sphsfs"
        << "-99";
    QTest::newRow("sphsfs text") << "01" << QStringList{} << QStringList{"sphsfs=3"} << ""
                                 << "sphsfs"
                                 << "3";
    QTest::newRow("sljd 3") << "00" << QStringList{} << QStringList{"sljd=3"} << ""
                            << "sljd"
                            << "0.000";
    QTest::newRow("sljd 0") << "00" << QStringList{} << QStringList{"sljd=0"} << ""
                            << "sljd"
                            << "0.";
    QTest::newRow("sljd negative") << "00" << QStringList{} << QStringList{"sljd=-2"} << ""
                                   << "sljd"
                                   << "0.";
    QTest::newRow("sljd missing") << "00" << QStringList{"sljd"} << QStringList{}
                                  << "没有可利用的数量精度！"
                                  << "sljd"
                                  << "";
    QTest::newRow("psxzsl blank") << "00" << QStringList{} << QStringList{"psxzsl= \t "} << ""
                                  << "psxzsl"
                                  << "100000";
    QTest::newRow("psxzsl missing") << "00" << QStringList{"psxzsl"} << QStringList{} << ""
                                    << "psxzsl"
                                    << "100000";
    QTest::newRow("psxzsl 250") << "00" << QStringList{} << QStringList{"psxzsl=250"} << ""
                                << "psxzsl"
                                << "250";
    QTest::newRow("psxzsl not a number") << "00" << QStringList{} << QStringList{"psxzsl=many"}
                                         << "'many' is not a valid integer value"
                                         << "psxzsl"
                                         << "-99";
    // "number" reads a text as a number (a half rounds to the even neighbour, as a real
    // value does); "number from text" stays strict.
    QTest::newRow("dddyhs 2.5") << "00" << QStringList{} << QStringList{"dddyhs=2.5"} << ""
                                << "dddyhs"
                                << "2";
    QTest::newRow("dddyhs 3.5") << "00" << QStringList{} << QStringList{"dddyhs=3.5"} << ""
                                << "dddyhs"
                                << "4";
    QTest::newRow("dddyhs blanks") << "00" << QStringList{} << QStringList{"dddyhs= 25 "} << ""
                                   << "dddyhs"
                                   << "25";
    QTest::newRow("psxzsl 2.5 is strict") << "00" << QStringList{} << QStringList{"psxzsl=2.5"}
                                          << "'2.5' is not a valid integer value"
                                          << "psxzsl"
                                          << "-99";
    QTest::newRow("mdzdysj 1, mdzdyjj 1")
        << "00" << QStringList{} << QStringList{"mdzdysj=1", "mdzdyjj=1"} << ""
        << "mdzdysj/mdzdyjj"
        << "1/1";
    QTest::newRow("mdzdysj 0, mdzdyjj 1")
        << "00" << QStringList{} << QStringList{"mdzdysj=0", "mdzdyjj=1"} << ""
        << "mdzdysj/mdzdyjj"
        << "0/0";
    QTest::newRow("mdzdysj 1, no mdzdyjj")
        << "00" << QStringList{"mdzdyjj"} << QStringList{"mdzdysj=1"} << ""
        << "mdzdysj/mdzdyjj"
        << "1/0";
    QTest::newRow("mdzdysj 1, MDZDYJJ 1")
        << "00" << QStringList{"mdzdyjj"} << QStringList{"mdzdysj=1", "MDZDYJJ=1"} << ""
        << "mdzdysj/mdzdyjj"
        << "1/1";
    QTest::newRow("mdzdysj missing")
        << "00" << QStringList{"mdzdysj"} << QStringList{"mdzdyjj=1"} << ""
        << "mdzdysj/mdzdyjj"
        << "0/0";
    QTest::newRow("tmzbmcqz blank") << "00" << QStringList{} << QStringList{"tmzbmcqz=  "} << ""
                                    << "tmzbmcqz"
                                    << "2";
    QTest::newRow("tmzbmcqz missing") << "00" << QStringList{"tmzbmcqz"} << QStringList{} << ""
                                      << "tmzbmcqz"
                                      << "2";
    QTest::newRow("tmzbmcqz 5") << "00" << QStringList{} << QStringList{"tmzbmcqz=5"} << ""
                                << "tmzbmcqz"
                                << "5";
    QTest::newRow("ysqr 2 becomes 0") << "00" << QStringList{} << QStringList{"ysqr=2"} << ""
                                      << "ysqr"
                                      << "0";
    QTest::newRow("ysqr empty becomes 0") << "00" << QStringList{} << QStringList{"ysqr="} << ""
                                          << "ysqr"
                                          << "0";
    QTest::newRow("ysqr missing") << "00" << QStringList{"ysqr"} << QStringList{}
                                  << "没有可利用的验收确认！"
                                  << "ysqr"
                                  << "";
    QTest::newRow("ypthphkz missing") << "00" << QStringList{"ypthphkz"} << QStringList{} << ""
                                      << "ypthphkz"
                                      << "1";
    QTest::newRow("xpdjmrsl missing") << "00" << QStringList{"xpdjmrsl"} << QStringList{} << ""
                                      << "xpdjmrsl"
                                      << "17";
    QTest::newRow("xpdjmrsl 2.5") << "00" << QStringList{} << QStringList{"xpdjmrsl=2.5"} << ""
                                  << "xpdjmrsl"
                                  << "2.5";
    QTest::newRow("spfzflx empty") << "00" << QStringList{} << QStringList{"spfzflx="} << ""
                                   << "spfzflx"
                                   << "0";
    QTest::newRow("spfzflx blank is no number")
        << "00" << QStringList{} << QStringList{"spfzflx= "} << "' ' is not a valid integer value"
        << "spfzflx"
        << "0";
    QTest::newRow("sxpdsyfzfl blank") << "00" << QStringList{} << QStringList{"sxpdsyfzfl= "} << ""
                                      << "sxpdsyfzfl"
                                      << "0";
    QTest::newRow("flag only for 1") << "00" << QStringList{} << QStringList{"lskz=True"} << ""
                                     << "lskz"
                                     << "0";
    QTest::newRow("lskz missing") << "00" << QStringList{"lskz"} << QStringList{}
                                  << "没有可利用的连锁控制！"
                                  << "lskz"
                                  << "0";
    QTest::newRow("kpyxcfsp missing is true")
        << "00" << QStringList{"kpyxcfsp"} << QStringList{} << ""
        << "kpyxcfsp"
        << "1";
    QTest::newRow("psfpbdyhs missing") << "00" << QStringList{"psfpbdyhs"} << QStringList{} << ""
                                       << "psfpbdyhs"
                                       << "25";
    QTest::newRow("djfgfs missing") << "00" << QStringList{"djfgfs"} << QStringList{} << ""
                                    << "djfgfs"
                                    << "0";
    QTest::newRow("xstbqyrq missing is empty")
        << "00" << QStringList{"xstbqyrq"} << QStringList{} << ""
        << "xstbqyrq"
        << "";
}

void TestSysmsgLoader::catalogueSteps()
{
    QFETCH(QString, dwlx);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, values);
    QFETCH(QString, error);
    QFETCH(QString, field);
    QFETCH(QString, expected);

    QList<SysmsgFixture::Row> rows = SysmsgFixture::fullRows();
    setRow(rows, QStringLiteral("dwlx"), Variant(dwlx));
    for (const QString& key : removed)
        removeRow(rows, key);
    for (const QString& pair : values) {
        const qsizetype equals = pair.indexOf(u'=');
        setRow(rows, pair.left(equals), Variant(pair.mid(equals + 1)));
    }
    SysmsgFixture f;
    fillOldValues(f.info);
    f.setParameters(rows);

    QCOMPARE(f.load(TsysmsgItems::all() -
                    TsysmsgItems{TsysmsgItem::curYearMonth, TsysmsgItem::curDateTime,
                                 TsysmsgItem::curDate, TsysmsgItem::operatorName}),
             error.isEmpty());
    QCOMPARE(f.errorText, error);
    QCOMPARE(fieldText(f.info, field), expected);
}

void TestSysmsgLoader::fullPacketLoadsEveryField()
{
    SysmsgFixture f;
    f.setParameters(SysmsgFixture::fullRows());
    f.info.operatorCode.clear();
    f.server->queue(CoorDisp::GetServerYearMonth, ScriptedAnswer::success("202405"));
    f.server->queue(CoorDisp::GetServerDateTime, ScriptedAnswer::success("20240517 093000"));
    f.server->queue(CoorDisp::GetServerDate, ScriptedAnswer::success("20240517"));

    QVERIFY2(f.load(TsysmsgItems::all()), qPrintable(f.errorText));
    const TsysmsgInfo& i = f.info;
    QCOMPARE(i.qyny, QStringLiteral("1"));
    QCOMPARE(i.sljd, QStringLiteral("0.0"));
    QCOMPARE(i.tmzbmcqz, QStringLiteral("1"));
    QVERIFY(i.lskz && i.kpyxcfsp && i.mdzdysj && i.mdzdyjj && i.jzspzbz && i.zysqzlyx);
    QCOMPARE(i.fgckjb, 1);
    QCOMPARE(i.SpecialAuditCyc, 1);
    QCOMPARE(i.Psdjzycts, 1);
    QCOMPARE(i.BalanceWorkFlow, 1);
    QCOMPARE(i.xpdjmrsl, 1.0);
    QCOMPARE(i.dwlx, QStringLiteral("00"));
    QCOMPARE(f.unitType, QStringLiteral("00"));
}

void TestSysmsgLoader::numericValues()
{
    // Numbers may arrive as numbers: "number" takes them as they are, "number from text"
    // through their text, "real" as a double.
    QList<SysmsgFixture::Row> rows = SysmsgFixture::fullRows();
    setRow(rows, "fgckjb", Variant(int32_t(7)));
    setRow(rows, "jsxtfs", Variant(int64_t(12)));
    setRow(rows, "xpdjmrsl", Variant(2.25));
    setRow(rows, "lskz", Variant(int32_t(1)));
    setRow(rows, "cskz", Variant::null());
    SysmsgFixture f;
    f.info.cskz = true;
    f.setParameters(rows);
    QVERIFY2(f.load({TsysmsgItem::fgckjb, TsysmsgItem::jsxtfs, TsysmsgItem::xpdjmrsl,
                     TsysmsgItem::lskz, TsysmsgItem::cskz}),
             qPrintable(f.errorText));
    QCOMPARE(f.info.fgckjb, 7);
    QCOMPARE(f.info.jsxtfs, 12);
    QCOMPARE(f.info.xpdjmrsl, 2.25);
    QVERIFY(f.info.lskz);
    QVERIFY(!f.info.cskz); // a null flag is false, not an error

    // A null in a text step is a conversion error, not the parameter's own message.
    setRow(rows, "dwmc", Variant::null());
    f.setParameters(rows);
    QVERIFY(!f.load({TsysmsgItem::dwmc}));
    QCOMPARE(f.errorText, kNullToText);
}

void TestSysmsgLoader::failureKeepsEarlierAndLaterFields()
{
    QList<SysmsgFixture::Row> rows = SysmsgFixture::fullRows();
    setRow(rows, "dwmc", Variant("新单位"));
    removeRow(rows, "sh");
    SysmsgFixture f;
    fillOldValues(f.info);
    f.setParameters(rows);
    QVERIFY(!f.load({TsysmsgItem::dz, TsysmsgItem::sh, TsysmsgItem::dwmc}));
    QCOMPARE(f.errorText, QStringLiteral("没有可利用的税号！"));
    QCOMPARE(f.info.dwmc, QStringLiteral("新单位")); // step 4, before sh
    QCOMPARE(f.info.sh, QStringLiteral("old"));
    QCOMPARE(f.info.dz, QStringLiteral("old")); // step 12, after sh
}

void TestSysmsgLoader::firstMissingMandatoryDecides()
{
    QList<SysmsgFixture::Row> rows = SysmsgFixture::fullRows();
    removeRow(rows, "sh");
    removeRow(rows, "dwmc");
    removeRow(rows, "jhddyhs");
    SysmsgFixture f;
    f.setParameters(rows);
    QVERIFY(!f.load({TsysmsgItem::jhddyhs, TsysmsgItem::sh, TsysmsgItem::dwmc}));
    QCOMPARE(f.errorText, QStringLiteral("没有可利用的单位名称！"));
    QVERIFY(!f.load({TsysmsgItem::jhddyhs, TsysmsgItem::sh}));
    QCOMPARE(f.errorText, QStringLiteral("没有可利用的税号！"));
    QVERIFY(!f.load({TsysmsgItem::jhddyhs}));
    QCOMPARE(f.errorText, QStringLiteral("没有可利用的拣货单打印行数！"));
}

void TestSysmsgLoader::missingColumnEndsLoad()
{
    SysmsgFixture f;
    f.server->setDefault(CoorDisp::GetSystemParameters,
                         ScriptedAnswer::success(testsupport::makePacket(
                             {"f_Csmc", "f_value"}, {{Variant("dwlx"), Variant("00")}})));
    QVERIFY(!f.load({TsysmsgItem::dwmc}));
    QCOMPARE(f.errorText, QStringLiteral("Field 'f_csz' not found"));
}

void TestSysmsgLoader::catalogueKeysAreDistinct()
{
    QSet<QString> keys;
    for (int i = 0; i < ParameterCatalogueSize(); ++i)
        keys.insert(ParameterCatalogueKey(i).toLower());
    QCOMPARE(ParameterCatalogueSize(), 125);
    QCOMPARE(keys.size(), 125);
    QVERIFY(!keys.contains("dwlx") && !keys.contains("mdzdyjj"));
    QCOMPARE(TsysmsgItemCount, 129);
}

QTEST_GUILESS_MAIN(TestSysmsgLoader)
#include "SysmsgLoaderTest.moc"
