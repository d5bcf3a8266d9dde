#include "DemoData.h"

#include "SqlLiteral.h"

#include <QStringList>
#include <array>
#include <iterator>

namespace server {

namespace {

struct Parameter {
    const char* name;
    const char* value;
};

// Every parameter of the loader's catalogue with a believable value: print rows as
// numbers, flags "1"/"0", the quantity precision two decimals.
constexpr Parameter Parameters[] = {
    {"dwlx", "00"}, // unit type: distribution centre
    {"qyny", "202001"},
    {"rqssj", "00:00:00"},
    {"dybm", "0101"},
    {"dwmc", "华东示范物流配送中心"},
    {"ysjscdjdbm", "01"},
    {"sjkbbh", "5.0.3"},
    {"hykls", "0"},
    {"djfgfs", "0"},
    {"ysqr", "1"},
    {"ypthphkz", "1"},
    {"sh", "91310115MA1H000001"},
    {"dz", "上海市浦东新区物流园路88号"},
    {"fgckjb", "1"},
    {"sphsfs", "1"},
    {"jsxtfs", "1"},
    {"pslssj", "0"},
    {"jjcbhsff", "1"},
    {"sjcbhsff", "1"},
    {"psxzsl", "100000"},
    {"xsxzsl", "100000"},
    {"jhxzsl", "100000"},
    {"cbjzfs", "1"},
    {"lxdh", "021-58880000"},
    {"khh", "中国工商银行上海浦东支行"},
    {"zh", "1001234567890000"},
    {"sljd", "2"},
    {"jjkz", "0"},
    {"lskz", "1"},
    {"kpyxcfsp", "1"},
    {"cpzkspyzbkz", "0"},
    {"jzscltjbc", "0"},
    {"jzsclyxjjsxzpzdp", "0"},
    {"psysjscdjd", "0"},
    {"cskz", "0"},
    {"zrrkz", "0"},
    {"dddyhs", "20"},
    {"spfzflx", "0"},
    {"brddyhs", "20"},
    {"brdhscfs", "1"},
    {"dddysjj", "0"},
    {"psdahsfg", "1"},
    {"ysdahsfg", "1"},
    {"xsdahsfg", "1"},
    {"bcddyhs", "20"},
    {"tjddyhs", "20"},
    {"bcdhscfs", "1"},
    {"sgddyhs", "20"},
    {"sgdhscfs", "1"},
    {"ykddyhs", "20"},
    {"ykdhscfs", "1"},
    {"dbddyhs", "20"},
    {"dbdhscfs", "1"},
    {"jgddyhs", "20"},
    {"jgdhscfs", "1"},
    {"tbddyhs", "20"},
    {"tbdhscfs", "1"},
    {"syddyhs", "20"},
    {"sydhscfs", "1"},
    {"ysddyhs", "20"},
    {"ysdhscfs", "1"},
    {"pdbdyhs", "20"},
    {"pdbhscfs", "1"},
    {"thddyhs", "20"},
    {"ptfpdyhs", "20"},
    {"thcpbxxdythqd", "0"},
    {"zjdyfs", "0"},
    {"ddysfs", "0"},
    {"hsdwh", "01"},
    {"dpckbm", "01"},
    {"dpjfs", "0"},
    {"thjjclfs", "0"},
    {"ddyszzfs", "0"},
    {"ddyxrqqy", "0"},
    {"ysfs", "0"},
    {"khzqqy", "0"},
    {"zkhwlqy", "0"},
    {"hykxc", "0"},
    {"xsfkz", "0"},
    {"kckz", "1"},
    {"hyklwms", "0"},
    {"yckqzj", ""},
    {"mdzdysj", "0"},
    {"mdzdyjj", "0"},
    {"dchy", "0"},
    {"xstbqyrq", "20200101"},
    {"ddbrkz", "0"},
    {"ypphqy", "0"},
    {"zmqy", "0"},
    {"djphmrz", "0"},
    {"ypphchsclfs", "0"},
    {"sxcycbft", "0"},
    {"sxqmpkc", "0"},
    {"xpdjmrsl", "17"},
    {"zbbm", "01"},
    {"dztqy", "0"},
    {"ddzxqy", "0"},
    {"psfpbdyhs", "25"},
    {"jjbkzzxzbjj", "0"},
    {"fmlspyjzdsy", "0"},
    {"sxpdsyflfs", "0"},
    {"sxpdsyfzfl", "0"},
    {"ddzxyslxsl", "0"},
    {"ddsczb", "0"},
    {"pdyxcfsp", "1"},
    {"ysxzpssp", "0"},
    {"jekzsptj", "0"},
    {"mdqyrjxstb", "0"},
    {"jzsjzdtj", "0"},
    {"tyspddcsf", "0"},
    {"jhddyhs", "20"},
    {"ycspl", ""},
    {"hykcszt", "0"},
    {"ddzxsqdtqhb", "1"},
    {"typdrfbmjz", "0"},
    {"hykkhxe", "0"},
    {"dcjdbzrck", ""},
    {"Psdjzycts", "0"},
    {"bbcszbsz", "0"},
    {"djbzkz", "0"},
    {"zysqzlyx", "1"},
    {"cgthsqsh", "0"},
    {"jzspzbz", "0"},
    {"dddxsj", "0"},
    {"tmzbmcqz", "2"},
    {"BalanceWorkFlow", "0"},
    {"SpecialAuditCyc", "0"},
};

struct Area {
    const char* kind;
    const char* prefix;
    std::array<const char*, DemoData::AreasPerKind> names;
};

const Area Areas[] = {
    {"PICK",
     "A",
     {"食品拣货区", "饮料拣货区", "日化拣货区", "家电拣货区", "粮油拣货区", "酒水拣货区",
      "冷冻拣货区", "冷藏拣货区", "文具拣货区", "母婴拣货区", "日杂拣货区", "烟草拣货区"}},
    {"PUT",
     "P",
     {"东一补货区", "东二补货区", "东三补货区", "西一补货区", "西二补货区", "西三补货区",
      "南一补货区", "南二补货区", "北一补货区", "北二补货区", "高架补货区", "夹层补货区"}},
    {"MPICK",
     "M",
     {"整件拣货管理区", "拆零拣货管理区", "冷链拣货管理区", "电商拣货管理区", "门店配送管理区",
      "团购拣货管理区", "退货拣货管理区", "大件拣货管理区", "贵品拣货管理区", "夜班拣货管理区",
      "越库拣货管理区", "应急拣货管理区"}},
};

const char* const Employees[][2] = {
    {DemoData::OperatorCode, DemoData::OperatorName}, {"0002", "李建国"}, {"0003", "王丽华"}};

QString chineseNumber(int number)
{
    static const QString digits = QStringLiteral("零一二三四五六七八九十");
    if (number <= 10)
        return digits.mid(number, 1);
    if (number < 20)
        return digits.mid(10, 1) + digits.mid(number - 10, 1);
    return digits.mid(number / 10, 1) + digits.mid(10, 1) +
           (number % 10 ? digits.mid(number % 10, 1) : QString());
}

QString storageCode(int index)
{
    return QStringLiteral("S%1").arg(index, 3, 10, QLatin1Char('0'));
}

// "insert into table (columns) values (...), (...);" over rows of ready literals.
QString insert(const QString& table, const QString& columns, const QStringList& rows)
{
    return QStringLiteral("insert into %1 (%2) values\n  %3;\n")
        .arg(table, columns, rows.join(QStringLiteral(",\n  ")));
}

} // namespace

int DemoData::parameterCount()
{
    return int(std::size(Parameters));
}

QString DemoData::script(const QDate& today)
{
    QString sql = QStringLiteral("delete from tbqydz;\ndelete from tbQyda;\ndelete from tbCCQyda;\n"
                                 "delete from tbXtcs;\ndelete from tbZyda;\ndelete from tbKjqj;\n");

    QStringList areaRows;
    for (const Area& area : Areas)
        for (int i = 0; i < AreasPerKind; ++i)
            areaRows << QStringLiteral("(%1, %2, %3)")
                            .arg(sqlLiteral(QStringLiteral("%1%2")
                                                .arg(QLatin1String(area.prefix))
                                                .arg(i + 1, 2, 10, QLatin1Char('0'))),
                                 sqlLiteral(QString::fromUtf8(area.names[i])),
                                 sqlLiteral(QLatin1String(area.kind)));
    sql += insert(QStringLiteral("tbQyda"), QStringLiteral("f_qybm, f_qymc, f_qylx"), areaRows);

    // Seven zones of twelve rows: 一号库区一排 ... 七号库区十二排.
    QStringList storageRows;
    for (int i = 0; i < StorageAreaCount; ++i)
        storageRows << QStringLiteral("(%1, %2)")
                           .arg(sqlLiteral(storageCode(i + 1)),
                                sqlLiteral(QStringLiteral("%1号库区%2排")
                                               .arg(chineseNumber(i / 12 + 1),
                                                    chineseNumber(i % 12 + 1))));
    sql += insert(QStringLiteral("tbCCQyda"), QStringLiteral("f_ccqybm, f_ccqymc"), storageRows);

    // The first eight areas of each kind serve four storage areas each; the put-away
    // areas start at the second zone so that one storage area serves several kinds.
    QStringList mappingRows;
    for (int kind = 0; kind < 3; ++kind)
        for (int area = 0; area < 8; ++area)
            for (int row = 0; row < 4; ++row)
                mappingRows << QStringLiteral("(%1, %2, %3)")
                                   .arg(sqlLiteral(QLatin1String(Areas[kind].kind)),
                                        sqlLiteral(QStringLiteral("%1%2")
                                                       .arg(QLatin1String(Areas[kind].prefix))
                                                       .arg(area + 1, 2, 10, QLatin1Char('0'))),
                                        sqlLiteral(storageCode(kind * 12 + area * 4 + row + 1)));
    sql +=
        insert(QStringLiteral("tbqydz"), QStringLiteral("f_qylx, f_qybm, f_ccqybm"), mappingRows);

    QStringList parameterRows;
    for (const Parameter& parameter : Parameters)
        parameterRows << QStringLiteral("(%1, %2)")
                             .arg(sqlLiteral(QLatin1String(parameter.name)),
                                  sqlLiteral(QString::fromUtf8(parameter.value)));
    sql += insert(QStringLiteral("tbXtcs"), QStringLiteral("f_Csmc, f_csz"), parameterRows);

    QStringList employeeRows;
    for (const auto& employee : Employees)
        employeeRows << QStringLiteral("(%1, %2)")
                            .arg(sqlLiteral(QString::fromUtf8(employee[0])),
                                 sqlLiteral(QString::fromUtf8(employee[1])));
    sql += insert(QStringLiteral("tbZyda"), QStringLiteral("f_zybm, f_zymc"), employeeRows);

    sql += insert(QStringLiteral("tbKjqj"), QStringLiteral("f_dqny"),
                  {sqlLiteral(today.toString(QStringLiteral("yyyyMM"))).prepend('(').append(')')});
    return sql;
}

} // namespace server
