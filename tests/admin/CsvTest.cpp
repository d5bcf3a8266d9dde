#include "CsvReader.h"
#include "CsvWriter.h"
#include "TextEncoding.h"

#include <QBuffer>
#include <QTest>

using admin::CsvReader;
using admin::CsvRecord;
using admin::CsvWriter;
using admin::TextEncoding;

namespace {

// "line:field|field" per record, "line:!error" for a bad one, "line:-" for a blank line.
QStringList readAll(QByteArray data, qsizetype chunkSize = 1 << 16)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer, chunkSize);
    CsvRecord record;
    QStringList records;
    while (reader.next(record)) {
        QString text = QString::number(record.line) + QLatin1Char(':');
        if (record.blank)
            text += QLatin1Char('-');
        else if (!record.error.isEmpty())
            text += QLatin1Char('!') + record.error;
        else
            for (qsizetype i = 0; i < record.fields.size(); ++i)
                text +=
                    (i ? QStringLiteral("|") : QString()) + QString::fromUtf8(record.fields.at(i));
        records << text;
    }
    return records;
}

} // namespace

class CsvTest : public QObject {
    Q_OBJECT

private slots:
    void readsRecords_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("records");
        QTest::newRow("lf and crlf")
            << QByteArray("a,b\r\nc,d\ne,f") << QStringList{"1:a|b", "2:c|d", "3:e|f"};
        QTest::newRow("empty fields") << QByteArray(",\n,x,\n") << QStringList{"1:|", "2:|x|"};
        QTest::newRow("quoted comma and quote")
            << QByteArray("\"a,b\",\"say \"\"hi\"\"\"\n") << QStringList{"1:a,b|say \"hi\""};
        QTest::newRow("line break inside quotes keeps line numbers")
            << QByteArray("\"x\ny\",z\nnext,row\n") << QStringList{"1:x\ny|z", "3:next|row"};
        QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBF"
                                                               "a,b\n")
                                                 << QStringList{"1:a|b"};
        QTest::newRow("blank line") << QByteArray("a\n\nb\n") << QStringList{"1:a", "2:-", "3:b"};
        QTest::newRow("stray quote, reading goes on")
            << QByteArray("a,b\"c\nd,e\n")
            << QStringList{"1:!quote inside a field that does not start with a quote", "2:d|e"};
        QTest::newRow("text after closing quote")
            << QByteArray("\"a\"b,c\nd,e\n")
            << QStringList{"1:!text after the closing quote of a field", "2:d|e"};
        QTest::newRow("quote never closed")
            << QByteArray("ok,1\n\"open,\n2\n")
            << QStringList{"1:ok|1", "2:!quoted field opened on line 2 is not closed"};
        QTest::newRow("gb18030 bytes are not split")
            << QByteArray("\x81\x40,\xFE\x39\x81\x30\n") // no comma, quote or break inside
            << QStringList{QStringLiteral("1:") + QString::fromUtf8(QByteArray("\x81\x40")) + "|" +
                           QString::fromUtf8(QByteArray("\xFE\x39\x81\x30"))};
    }
    void readsRecords()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, records);
        QCOMPARE(readAll(data), records);
        // The same records when every field, quote and line break meets a chunk's end.
        for (const qsizetype chunkSize : {1, 2, 3, 5})
            QCOMPARE(readAll(data, chunkSize), records);
    }

    void writtenFieldsReadBackUnchanged()
    {
        const QStringList fields{"plain",    "with,comma", "say \"hi\"", "two\r\nlines",
                                 " leading", "trailing ",  "",           "一号 拣货区"};
        const QString record = CsvWriter::record(fields);
        QVERIFY(record.endsWith("\r\n"));
        QCOMPARE(CsvWriter::field("plain"), QStringLiteral("plain"));
        QByteArray bytes = record.toUtf8();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        CsvReader reader(buffer);
        CsvRecord read;
        QVERIFY(reader.next(read));
        QVERIFY(read.error.isEmpty());
        QStringList back;
        for (const QByteArray& field : read.fields)
            back << QString::fromUtf8(field);
        QCOMPARE(back, fields);
        QVERIFY(!reader.next(read));
    }

    void decodingIsStrict_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8") << "utf-8" << QByteArray("一号") << true << QStringLiteral("一号");
        QTest::newRow("utf-8 broken") << "utf-8" << QByteArray("a\xE4\xB8") << false << QString();
        QTest::newRow("gbk bytes as utf-8")
            << "utf-8" << QByteArray("\xB0\xA1") << false << QString();
        QTest::newRow("gb18030") << "gb18030" << QByteArray("\xD2\xBB\xBA\xC5") << true
                                 << QStringLiteral("一号");
        QTest::newRow("gb18030 broken") << "GB18030" << QByteArray("a\x81") << false << QString();
    }
    void decodingIsStrict()
    {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QFETCH(QString, text);
        const std::optional<TextEncoding> codec = TextEncoding::fromName(encoding);
        QVERIFY(codec);
        QString decoded;
        QCOMPARE(codec->decode(bytes, decoded), valid);
        if (valid) {
            QCOMPARE(decoded, text);
            QCOMPARE(codec->encode(decoded), bytes);
        }
    }

    void unknownEncodingIsRefused() { QVERIFY(!TextEncoding::fromName("latin1")); }
};

QTEST_APPLESS_MAIN(CsvTest)
#include "CsvTest.moc"
