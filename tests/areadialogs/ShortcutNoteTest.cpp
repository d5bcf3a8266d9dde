// The shadowed note: placement, pixels over a known background, closing, ShowNote.
#include "DialogDriving.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalScript.h"

#include "area/AreaHelp.h"
#include "area/TRopInst.h"
#include "area/TRopWin.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QScreen>
#include <QtTest>
#include <array>

namespace {

QSize screenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

// Whether pixel (x, y) of the shadow pattern is a 1 bit (most significant bit leftmost).
bool patternBit(int x, int y)
{
    static constexpr std::array<int, 8> rows{0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};
    return (rows[y % 8] >> (7 - x % 8)) & 1;
}

QImage gradient(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7) % 256, (y * 11) % 256, 0xC3));
    return image;
}

} // namespace

class ShortcutNoteTest : public QObject {
    Q_OBJECT
private slots:
    void placesByTextSize_data();
    void placesByTextSize();
    void paintsBoxShadowAndCornersOverBackground();
    void closes_data();
    void closes();
    void showNoteWithoutLinesShowsErrorBox();
    void showNoteShowsAreaShortcutsUntilClosed();
};

void ShortcutNoteTest::placesByTextSize_data()
{
    QTest::addColumn<int>("xPos");
    QTest::addColumn<int>("yPos");
    QTest::addColumn<QStringList>("lines");
    const QStringList shortcuts{QStringLiteral("快捷键："), QStringLiteral("    查找: CTRL + L"),
                                QString(), QString()};
    QTest::newRow("centred") << 0 << 0 << shortcuts;
    QTest::newRow("placed") << 100 << 50 << shortcuts;
    QTest::newRow("negative kept") << -30 << -40 << shortcuts;
    QTest::newRow("x centred only") << 0 << 70 << shortcuts;
    QTest::newRow("wider than the screen")
        << 0 << 0 << QStringList{QString(screenSize().width() / 4 + 10, QLatin1Char('W'))};
}

void ShortcutNoteTest::placesByTextSize()
{
    QFETCH(int, xPos);
    QFETCH(int, yPos);
    QFETCH(QStringList, lines);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    TRopInst note;
    note.setFont(font);
    note.setLines(lines);
    note.xPos = xPos;
    note.yPos = yPos;
    note.PlaceNote();

    const QFontMetrics metrics(font);
    int textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const int textHeight = int(lines.size()) * metrics.height();
    QCOMPARE(note.size(), QSize(textWidth + 40, textHeight + 30));
    const QPoint expected(xPos ? xPos : (screenSize().width() - textWidth) / 2,
                          yPos ? yPos : (screenSize().height() - textHeight) / 2);
    QCOMPARE(note.pos(), expected);
    QVERIFY(!note.Timer1->isActive());
}

void ShortcutNoteTest::paintsBoxShadowAndCornersOverBackground()
{
    const QRgb textColor = qRgb(0x10, 0x60, 0x30);
    const QRgb brushColor = qRgb(0xF0, 0xFF, 0x0F);
    TRopInst note;
    note.setLines({QStringLiteral("Ab"), QStringLiteral("Cd")});
    note.setTextColor(QColor(textColor));
    note.setNoteBrush(QBrush(QColor(brushColor)));
    note.xPos = 10;
    note.yPos = 10;
    note.PlaceNote();
    const int w = note.width();
    const int h = note.height();
    const QImage background = gradient(note.size());
    note.setBackground(background);
    const QImage shown = note.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), note.size());

    auto inBands = [&](int x, int y) {
        return (x >= 16 && y >= h - 16) || (x >= w - 16 && y >= 16);
    };
    int mismatches = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb under = background.pixel(x, y);
            QRgb expected;
            if (inBands(x, y))
                expected = under & (patternBit(x, y) ? brushColor : textColor);
            else if (x == 0 || y == 0 || x > w - 17 || y > h - 17)
                expected = under; // outside the box: the corners and the first row/column
            else
                continue; // box and text, checked below
            if (shown.pixel(x, y) != expected && ++mismatches < 5)
                qWarning("pixel (%d, %d): %08x, expected %08x", x, y, shown.pixel(x, y), expected);
        }
    }
    QCOMPARE(mismatches, 0);

    // The box: a 2-pixel black border from (1, 1) to (W - 17, H - 17), filled with the brush.
    const QRgb black = qRgb(0, 0, 0);
    const int middle = h / 2;
    for (int x : {1, 2, w - 18, w - 17})
        QCOMPARE(shown.pixel(x, middle), black);
    for (int y : {1, 2, h - 18, h - 17})
        QCOMPARE(shown.pixel(w / 2, y), black);
    QCOMPARE(shown.pixel(3, middle), brushColor);
    QCOMPARE(shown.pixel(w - 19, middle), brushColor);
    QCOMPARE(shown.pixel(w / 2, 3), brushColor);
    // The text is drawn in its colour inside (6, 6)-(W - 21, H - 21).
    bool textSeen = false;
    for (int y = 6; y < h - 21 && !textSeen; ++y)
        for (int x = 6; x < w - 21 && !textSeen; ++x)
            textSeen = shown.pixel(x, y) == textColor;
    QVERIFY(textSeen);
}

void ShortcutNoteTest::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("key") << QStringLiteral("key");
    QTest::newRow("tab key") << QStringLiteral("tab");
    QTest::newRow("mouse") << QStringLiteral("mouse");
    QTest::newRow("timer") << QStringLiteral("timer");
}

void ShortcutNoteTest::closes()
{
    QFETCH(QString, how);
    TRopInst note;
    note.setLines({QStringLiteral("note")});
    note.TimeClose = how == QLatin1String("timer") ? 50 : 0;
    note.PlaceNote();
    QCOMPARE(note.Timer1->isActive(), how == QLatin1String("timer"));
    note.show();
    QVERIFY(QTest::qWaitForWindowExposed(&note));
    if (how == QLatin1String("key"))
        QTest::keyClick(&note, Qt::Key_A);
    else if (how == QLatin1String("tab"))
        QTest::keyClick(&note, Qt::Key_Tab);
    else if (how == QLatin1String("mouse"))
        QTest::mouseClick(&note, Qt::RightButton, {}, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(!note.isVisible(), 2000);
}

void ShortcutNoteTest::showNoteWithoutLinesShowsErrorBox()
{
    TRopWin rop;
    testsupport::MessageBoxRecorder boxes;
    testsupport::ModalScript script; // fails the test if a note is shown
    rop.ShowNote();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().text, QStringLiteral("The Lines is empty"));
    QCOMPARE(boxes.last().caption, QStringLiteral("Error"));
    QCOMPARE(boxes.last().buttons, platform::MessageBoxButtons::Ok);
    QCOMPARE(boxes.last().icon, platform::MessageBoxIcon::None);
    QVERIFY(script.seen().isEmpty());
}

void ShortcutNoteTest::showNoteShowsAreaShortcutsUntilClosed()
{
    QObject owner;
    TRopWin* rop = createAreaShortcutNote(&owner);
    QPointer<TRopInst> shown;
    bool stillOpen = false;
    testsupport::ModalScript script;
    script.queue([&](QDialog& dialog) {
        shown = qobject_cast<TRopInst*>(&dialog);
        if (!shown || rop->noteWindow() != shown)
            return 0;
        shown->show();
        QTest::qWait(100);
        stillOpen = shown->isVisible();
        QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(20, 20));
        return shown->isVisible() ? 0 : 1;
    });
    rop->ShowNote();
    QCOMPARE(script.seenObjectNames(), QStringList{QStringLiteral("TRopInst")});
    QVERIFY(stillOpen); // no timer
    QVERIFY(!shown);    // freed after the showing
    QCOMPARE(rop->noteWindow(), nullptr);
    QCOMPARE(rop->Lines().size(), 7);
    QCOMPARE(rop->Lines().mid(4),
             (QStringList{QStringLiteral("    退  出: ESC"), QString(), QString()}));
}

QTEST_MAIN(ShortcutNoteTest)
#include "ShortcutNoteTest.moc"
