#include "shared/TFlatButton.h"

#include <QImage>
#include <QTest>
#include <QWidget>

class TestTFlatButton : public QObject {
    Q_OBJECT
private slots:
    void drawsBorderOverParentColour();
    void neverTakesFocusOrDefault();
};

void TestTFlatButton::drawsBorderOverParentColour()
{
    QWidget parent;
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, QColor(200, 10, 10));
    parent.setPalette(colours);
    parent.setAutoFillBackground(true);
    parent.resize(120, 60);
    TFlatButton button(QString(), &parent); // no caption: only border and background
    button.setGeometry(10, 10, 80, 30);

    QImage image = parent.grab().toImage();
    QCOMPARE(image.pixelColor(10, 10), QColor(0, 128, 0));
    QCOMPARE(image.pixelColor(89, 39), QColor(0, 128, 0));
    QCOMPARE(image.pixelColor(50, 25), QColor(200, 10, 10));

    button.setBorderColor(QColor(0, 0, 255));
    image = parent.grab().toImage();
    QCOMPARE(image.pixelColor(10, 25), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(11, 25), QColor(200, 10, 10));
}

void TestTFlatButton::neverTakesFocusOrDefault()
{
    TFlatButton button(QStringLiteral("确定(&O)"));
    QCOMPARE(button.focusPolicy(), Qt::NoFocus);
    QVERIFY(!button.autoDefault() && !button.isDefault());
    QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(button.borderColor(), QColor(0, 128, 0));
}

QTEST_MAIN(TestTFlatButton)
#include "TFlatButtonTest.moc"
