// Private-profile reading and the GB18030 text boundary.
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class IniFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void reading_data();
    void reading();
    void missingFileGivesDefault();
    void valueIsCappedAt2047Characters();
    void hostExecutableDirectoryIsTheProgramsDirectory();
    void shortStrings_data();
    void shortStrings();
    void gb18030RoundTrip();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void IniFileTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath("Korlivapos.ini");
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("; comment line\r\n"
               "[General]\r\n"
               "backcolor=1\r\n"
               "[  ColorOption ]\r\n"
               "  BackColor  =   255   \r\n"
               "quoted=\"  $FF0000 \"\r\n"
               "single='x'\r\n"
               "halfquote=\"abc\r\n"
               "empty=\r\n"
               "emptyquotes=\"\"\r\n"
               "withequals=a=b\r\n"
               "; hidden=1\r\n"
               "novalue\r\n"
               "[coloroption]\r\n"
               "second=not read\r\n"
               "[Names]\r\n"
               "chinese=" +
               platform::encodeGb18030(QStringLiteral("宋体")) + "\n");
}

void IniFileTest::reading_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("section and key ignoring case, blanks trimmed") << "coloroption"
                                                                   << "BACKCOLOR"
                                                                   << "255";
    QTest::newRow("same key in another section") << "general"
                                                 << "backcolor"
                                                 << "1";
    QTest::newRow("quotes removed, inner blanks kept") << "ColorOption"
                                                       << "quoted"
                                                       << "  $FF0000 ";
    QTest::newRow("single quotes removed") << "ColorOption"
                                           << "single"
                                           << "x";
    QTest::newRow("unpaired quote kept") << "ColorOption"
                                         << "halfquote"
                                         << "\"abc";
    QTest::newRow("empty value is empty, not default") << "ColorOption"
                                                       << "empty"
                                                       << "";
    QTest::newRow("empty quotes") << "ColorOption"
                                  << "emptyquotes"
                                  << "";
    QTest::newRow("value with equals sign") << "ColorOption"
                                            << "withequals"
                                            << "a=b";
    QTest::newRow("commented key missing") << "ColorOption"
                                           << "hidden"
                                           << "<default>";
    QTest::newRow("line without equals") << "ColorOption"
                                         << "novalue"
                                         << "<default>";
    QTest::newRow("missing key") << "ColorOption"
                                 << "forecolor"
                                 << "<default>";
    QTest::newRow("missing section") << "Other"
                                     << "backcolor"
                                     << "<default>";
    QTest::newRow("repeated section not merged") << "ColorOption"
                                                 << "second"
                                                 << "<default>";
    QTest::newRow("GB2312 value decoded") << "names"
                                          << "chinese" << QStringLiteral("宋体");
}

void IniFileTest::reading()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(platform::readPrivateProfileString(m_path, section, key, "<default>"), expected);
}

void IniFileTest::missingFileGivesDefault()
{
    QCOMPARE(platform::readPrivateProfileString(m_dir.filePath("absent.ini"), "ColorOption",
                                                "backcolor", "15528176"),
             QStringLiteral("15528176"));
}

void IniFileTest::valueIsCappedAt2047Characters()
{
    const QString path = m_dir.filePath("long.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[s]\nk=" + QByteArray(3000, '7') + "\nexact=" + QByteArray(2047, '8') + "\n");
    file.close();
    QCOMPARE(platform::readPrivateProfileString(path, "s", "k", ""), QString(2047, u'7'));
    QCOMPARE(platform::readPrivateProfileString(path, "s", "exact", ""), QString(2047, u'8'));
}

void IniFileTest::hostExecutableDirectoryIsTheProgramsDirectory()
{
    QCOMPARE(platform::hostExecutableDirectory(), QCoreApplication::applicationDirPath());
}

void IniFileTest::shortStrings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("length 0 ignores what follows") << QByteArray("\x00"
                                                                 "abc",
                                                                 4)
                                                   << QString();
    QTest::newRow("ascii code") << QByteArray("\x04"
                                              "0012"
                                              "XYZ")
                                << "0012";
    QTest::newRow("chinese GB2312") << QByteArray("\x04\xC7\xF8\xD3\xF2") << QStringLiteral("区域");
    QTest::newRow("GB18030 four-byte")
        << QByteArray("\x04\x81\x30\x81\x30") << QStringLiteral("\u0080");
    QByteArray full(256, 'a');
    full[0] = char(255);
    full[255] = 'z';
    QTest::newRow("length 255") << full << QString(254, u'a') + u'z';
}

void IniFileTest::shortStrings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    // Decode from an exact-size copy so that reading past the length would be caught.
    const QByteArray exact = bytes.left(1 + static_cast<unsigned char>(bytes[0]));
    QCOMPARE(platform::decodeShortString(reinterpret_cast<const unsigned char*>(exact.constData())),
             expected);
}

void IniFileTest::gb18030RoundTrip()
{
    QVERIFY(platform::decodeShortString(nullptr).isEmpty());
    const QString text = QStringLiteral("区域档案与对照 PICK-01 €");
    QCOMPARE(platform::decodeGb18030(platform::encodeGb18030(text)), text);
    QCOMPARE(platform::encodeGb18030(QStringLiteral("区")), QByteArray("\xC7\xF8"));
}

QTEST_GUILESS_MAIN(IniFileTest)
#include "IniFileTest.moc"
