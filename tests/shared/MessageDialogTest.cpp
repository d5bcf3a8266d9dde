#include "shared/MessageDialog.h"
#include "platform/Error.h"
#include "platform/Fonts.h"
#include "platform/Window.h"
#include "shared/ReadIniValue.h"
#include "shared/TFlatButton.h"
#include "shared/TMessageForm.h"
#include "support/ModalScript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <cmath>

namespace {

// The dialog's units computed here from the font's metrics, rounding halves away from zero.
struct Units {
    explicit Units(const QFont& font) : metrics(font)
    {
        const int x =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
        const int y = metrics.height();
        auto scaled = [](int a, int b, int c) { return int(std::lround(double(a) * b / c)); };
        horzMargin = scaled(8, x, 4);
        vertMargin = scaled(8, y, 8);
        horzSpacing = scaled(10, x, 4);
        vertSpacing = scaled(10, y, 8);
        buttonWidth = scaled(50, x, 4);
        buttonHeight = scaled(14, y, 8);
        buttonSpacing = scaled(4, x, 4);
    }
    QSize textSize(const QString& text) const
    {
        const int halfScreen = QGuiApplication::primaryScreen()->geometry().width() / 2;
        const QRect r = metrics.boundingRect(QRect(0, 0, halfScreen, 0),
                                             Qt::TextWordWrap | Qt::TextExpandTabs, text);
        return QSize(r.right() + 1, r.bottom() + 1);
    }
    int widthFor(const QStringList& captions) const
    {
        int width = buttonWidth;
        for (QString caption : captions)
            width = std::max(width, metrics.horizontalAdvance(caption.remove('&')) + 8);
        return width;
    }

    QFontMetrics metrics;
    int horzMargin, vertMargin, horzSpacing, vertSpacing, buttonWidth, buttonHeight, buttonSpacing;
};

QFont messageFont()
{
    QFont font;
    platform::systemMessageFont(font);
    return font;
}

QString iniPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath("Korlivapos.ini");
}

void writeColor(const QString& value)
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[ColorOption]\r\nbackcolor=" + value.toUtf8() + "\r\n");
}

QList<TFlatButton*> buttonsOf(QDialog& dialog)
{
    return dialog.findChildren<TFlatButton*>();
}

} // namespace

class TestMessageDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void informationLayout();
    void keysAndResults_data();
    void keysAndResults();
    void buttonKinds_data();
    void buttonKinds();
    void yesStandsLeftOfNo();
    void helpLeavesDialogOpen();
    void kindCaptionsAndIcons_data();
    void kindCaptionsAndIcons();
    void customKindHasNoIcon();
    void emptyButtonSet();
    void longTextWraps();
    void colours_data();
    void colours();
    void badColourRaises_data();
    void badColourRaises();
    void ownedByApplicationWindow();
    void centredOnItsOwner();
    void iniFileBesideExecutable();

private:
    std::unique_ptr<testsupport::ModalScript> m_modal;
};

void TestMessageDialog::init()
{
    QFile::remove(iniPath());
    platform::ModuleApplication::setMainWindowHandle(0);
    m_modal = std::make_unique<testsupport::ModalScript>();
}

void TestMessageDialog::cleanup()
{
    m_modal.reset();
    QFile::remove(iniPath());
}

void TestMessageDialog::informationLayout()
{
    const QString text = QStringLiteral("区域编码不能为空！");
    const Units u(messageFont());
    const QSize textSize = u.textSize(text);
    const int buttonWidth = u.widthFor({"确认(&O)"});
    const int iconTextWidth = textSize.width() + u.horzSpacing + 32;
    const int iconTextHeight = std::max(textSize.height(), 32);
    const int clientWidth = std::max(iconTextWidth, buttonWidth) + 2 * u.horzMargin;
    const int clientHeight = iconTextHeight + u.buttonHeight + u.vertSpacing + 2 * u.vertMargin;

    QPointer<QDialog> shown;
    QPoint position;
    m_modal->queue([&](QDialog& dialog) {
        shown = &dialog;
        position = dialog.pos();
        return 1;
    });
    QCOMPARE(ShowMessageDialog(text, MsgKind::Information, MsgButton::OK), 1);
    QVERIFY(shown.isNull()); // freed after the modal loop

    auto dialog = BuildMessageDialog(text, MsgKind::Information, MsgButton::OK);
    QCOMPARE(dialog->font(), messageFont());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("信息"));
    QCOMPARE(dialog->size(), QSize(clientWidth, clientHeight));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(position,
             QPoint((screen.width() - clientWidth) / 2, (screen.height() - clientHeight) / 2));

    auto* image = dialog->findChild<QLabel*>("Image");
    QVERIFY(image);
    QCOMPARE(image->geometry(), QRect(u.horzMargin, u.vertMargin, 32, 32));
    auto* message = dialog->findChild<QLabel*>("Message");
    QVERIFY(message);
    QCOMPARE(message->text(), text);
    QVERIFY(message->wordWrap());
    QCOMPARE(message->geometry(), QRect(iconTextWidth - textSize.width() + u.horzMargin,
                                        u.vertMargin, textSize.width(), textSize.height()));
    QCOMPARE(buttonsOf(*dialog).size(), 1);
    auto* ok = dialog->findChild<TFlatButton*>("OK");
    QVERIFY(ok);
    QCOMPARE(ok->geometry(),
             QRect((clientWidth - buttonWidth) / 2, iconTextHeight + u.vertMargin + u.vertSpacing,
                   buttonWidth, u.buttonHeight));
}

void TestMessageDialog::keysAndResults_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter") << "enter" << 1;
    QTest::newRow("keypad Enter") << "keypad enter" << 1;
    QTest::newRow("Escape") << "escape" << 2;
    QTest::newRow("click") << "click" << 1;
    QTest::newRow("letter o") << "o" << 1;
    QTest::newRow("letter O") << "O" << 1;
    QTest::newRow("other letter") << "x" << 0;
    QTest::newRow("close box") << "close" << 2;
}

void TestMessageDialog::keysAndResults()
{
    QFETCH(QString, action);
    QFETCH(int, result);
    m_modal->queue([&](QDialog& dialog) {
        dialog.show();
        if (action == "enter")
            QTest::keyClick(&dialog, Qt::Key_Return);
        else if (action == "keypad enter")
            QTest::keyClick(&dialog, Qt::Key_Enter, Qt::KeypadModifier);
        else if (action == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (action == "click")
            QTest::mouseClick(dialog.findChild<TFlatButton*>("OK"), Qt::LeftButton);
        else if (action == "close")
            dialog.close();
        else
            QTest::keyClick(&dialog, action[0].toLatin1());
        return dialog.result();
    });
    QCOMPARE(ShowMessageDialog("提示", MsgKind::Information, MsgButton::OK), result);
}

void TestMessageDialog::buttonKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes") << 0 << "Yes"
                         << "是(&Y)" << 6;
    QTest::newRow("No") << 1 << "No"
                        << "不(&N)" << 7;
    QTest::newRow("OK") << 2 << "OK"
                        << "确认(&O)" << 1;
    QTest::newRow("Cancel") << 3 << "Cancel"
                            << "放弃(&C)" << 2;
    QTest::newRow("Abort") << 4 << "Abort"
                           << "&Abort" << 3;
    QTest::newRow("Retry") << 5 << "Retry"
                           << "&Retry" << 4;
    QTest::newRow("Ignore") << 6 << "Ignore"
                            << "&Ignore" << 5;
    QTest::newRow("All") << 7 << "All"
                         << "&All" << 8;
    QTest::newRow("NoToAll") << 8 << "NoToAll"
                             << "N&o to All" << 9;
    QTest::newRow("YesToAll") << 9 << "YesToAll"
                              << "Yes to &All" << 10;
}

void TestMessageDialog::buttonKinds()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, result);
    const Units u(messageFont());
    auto dialog = BuildMessageDialog("?", MsgKind::Confirmation, MsgButton(kind));
    auto* button = dialog->findChild<TFlatButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->width(), u.widthFor({caption}));
    QCOMPARE(button->borderColor(), QColor(0, 128, 0));
    QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QVERIFY(!button->isDefault() && !button->autoDefault());

    m_modal->queue([&](QDialog& shown) {
        shown.findChild<TFlatButton*>(name)->click();
        return shown.result();
    });
    QCOMPARE(ShowMessageDialog("?", MsgKind::Confirmation, MsgButton(kind)), result);
}

void TestMessageDialog::yesStandsLeftOfNo()
{
    const Units u(messageFont());
    auto dialog = BuildMessageDialog("继续吗？", MsgKind::Confirmation,
                                     MsgButtons(MsgButton::No) | MsgButton::Yes);
    auto* yes = dialog->findChild<TFlatButton*>("Yes");
    auto* no = dialog->findChild<TFlatButton*>("No");
    QVERIFY(yes && no);
    const int width = u.widthFor({"是(&Y)", "不(&N)"});
    QCOMPARE(yes->width(), width);
    QCOMPARE(no->width(), width);
    QCOMPARE(no->x(), yes->x() + width + u.buttonSpacing);
    QCOMPARE(yes->x(), (dialog->width() - (2 * width + u.buttonSpacing)) / 2);

    m_modal->queue([](QDialog& shown) {
        QTest::keyClick(&shown, Qt::Key_Return);
        return shown.result();
    });
    QCOMPARE(ShowMessageDialog("继续吗？", MsgKind::Confirmation,
                               MsgButtons(MsgButton::Yes) | MsgButton::No),
             1);
}

void TestMessageDialog::helpLeavesDialogOpen()
{
    bool stillOpen = false;
    m_modal->queue([&](QDialog& dialog) {
        dialog.show();
        dialog.findChild<TFlatButton*>("Help")->click();
        stillOpen = dialog.isVisible() && dialog.result() == 0;
        QTest::keyClick(&dialog, 'h'); // its mnemonic does no more
        stillOpen = stillOpen && dialog.isVisible();
        dialog.findChild<TFlatButton*>("OK")->click();
        return dialog.result();
    });
    QCOMPARE(ShowMessageDialog("?", MsgKind::Warning, MsgButtons(MsgButton::OK) | MsgButton::Help),
             1);
    QVERIFY(stillOpen);
}

void TestMessageDialog::kindCaptionsAndIcons_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::newRow("Warning") << 0 << "警告" << int(QStyle::SP_MessageBoxWarning);
    QTest::newRow("Error") << 1 << "错误" << int(QStyle::SP_MessageBoxCritical);
    QTest::newRow("Information") << 2 << "信息" << int(QStyle::SP_MessageBoxInformation);
    QTest::newRow("Confirmation") << 3 << "询问" << int(QStyle::SP_MessageBoxQuestion);
}

void TestMessageDialog::kindCaptionsAndIcons()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    auto dialog = BuildMessageDialog("?", MsgKind(kind), MsgButton::OK);
    QCOMPARE(dialog->windowTitle(), caption);
    auto* image = dialog->findChild<QLabel*>("Image");
    QVERIFY(image);
    const QImage expected =
        dialog->style()->standardIcon(QStyle::StandardPixmap(icon)).pixmap(32, 32).toImage();
    QCOMPARE(image->pixmap().toImage(), expected);
}

void TestMessageDialog::customKindHasNoIcon()
{
    const QString text = QStringLiteral("自定义");
    const Units u(messageFont());
    const QSize textSize = u.textSize(text);
    auto dialog = BuildMessageDialog(text, MsgKind::Custom, MsgButton::OK);
    QCOMPARE(dialog->windowTitle(), platform::ModuleApplication::title());
    QVERIFY(!dialog->findChild<QLabel*>("Image"));
    QCOMPARE(dialog->findChild<QLabel*>("Message")->geometry(),
             QRect(u.horzMargin, u.vertMargin, textSize.width(), textSize.height()));
    QCOMPARE(dialog->height(),
             textSize.height() + u.buttonHeight + u.vertSpacing + 2 * u.vertMargin);
}

void TestMessageDialog::emptyButtonSet()
{
    const Units u(messageFont());
    auto dialog = BuildMessageDialog("无按钮", MsgKind::Custom, MsgButtons());
    QVERIFY(buttonsOf(*dialog).isEmpty());
    QCOMPARE(dialog->width(), u.textSize("无按钮").width() + 2 * u.horzMargin);

    for (auto [key, result] : {std::pair{Qt::Key_Return, 1}, std::pair{Qt::Key_Escape, 2}}) {
        m_modal->queue([key = key](QDialog& shown) {
            QTest::keyClick(&shown, key);
            return shown.result();
        });
        QCOMPARE(ShowMessageDialog("无按钮", MsgKind::Custom, MsgButtons()), result);
    }
}

void TestMessageDialog::longTextWraps()
{
    const Units u(messageFont());
    const int halfScreen = QGuiApplication::primaryScreen()->geometry().width() / 2;
    QString text;
    while (u.metrics.horizontalAdvance(text) < 3 * halfScreen)
        text += QStringLiteral("word ");
    auto wide = BuildMessageDialog(text, MsgKind::Error, MsgButton::OK);
    const QLabel* message = wide->findChild<QLabel*>("Message");
    QVERIFY(message->width() <= halfScreen);
    QVERIFY(message->height() >= 3 * u.metrics.height());

    // A one-line text is lower than the icon: the buttons still stand below the icon.
    QVERIFY(u.textSize("短").height() < 32);
    auto narrow = BuildMessageDialog("短", MsgKind::Error, MsgButton::OK);
    QCOMPARE(narrow->findChild<TFlatButton*>("OK")->y(), 32 + u.vertMargin + u.vertSpacing);
}

void TestMessageDialog::colours_data()
{
    QTest::addColumn<QString>("iniValue"); // "-": no INI file
    QTest::addColumn<QColor>("colour");
    QTest::newRow("no file: default") << "-" << QColor(240, 240, 236);
    QTest::newRow("255 is red") << "255" << QColor(255, 0, 0);
    QTest::newRow("$FF0000 is blue") << "$FF0000" << QColor(0, 0, 255);
    QTest::newRow("0x00FF00 is green") << " 0x00FF00" << QColor(0, 255, 0);
}

void TestMessageDialog::colours()
{
    QFETCH(QString, iniValue);
    QFETCH(QColor, colour);
    if (iniValue != "-")
        writeColor(iniValue);
    auto dialog = BuildMessageDialog("颜色", MsgKind::Information, MsgButton::OK);
    QCOMPARE(dialog->palette().color(QPalette::Window), colour);
    QVERIFY(dialog->autoFillBackground());
    QCOMPARE(dialog->findChild<TFlatButton*>("OK")->palette().color(QPalette::Window), colour);
}

void TestMessageDialog::badColourRaises_data()
{
    QTest::addColumn<QString>("iniValue");
    QTest::addColumn<QString>("error");
    QTest::newRow("letters") << "abc"
                             << "'abc' is not a valid integer value";
    QTest::newRow("empty value") << ""
                                 << "'' is not a valid integer value";
}

void TestMessageDialog::badColourRaises()
{
    QFETCH(QString, iniValue);
    QFETCH(QString, error);
    writeColor(iniValue);
    QString raised;
    try {
        ShowMessageDialog("颜色", MsgKind::Information, MsgButton::OK);
    } catch (const platform::Error& e) {
        raised = e.message();
    }
    QCOMPARE(raised, error);
    QVERIFY(m_modal->seen().isEmpty());
}

void TestMessageDialog::ownedByApplicationWindow()
{
    QWidget application;
    platform::ModuleApplication::setMainWindowHandle(platform::windowHandle(&application));
    auto dialog = BuildMessageDialog("?", MsgKind::Information, MsgButton::OK);
    QCOMPARE(dialog->parentWidget(), &application);
    QVERIFY(dialog->isWindow());
    platform::ModuleApplication::setMainWindowHandle(0);
}

void TestMessageDialog::centredOnItsOwner()
{
    // An application window away from the middle of the screen.
    QWidget application;
    application.setGeometry(30, 40, 400, 300);
    application.show();
    platform::ModuleApplication::setMainWindowHandle(platform::windowHandle(&application));
    QPoint centre;
    m_modal->queue([&](QDialog& dialog) {
        centre = dialog.frameGeometry().center();
        return 1;
    });
    ShowMessageDialog(QStringLiteral("区域编码不能为空！"), MsgKind::Information, MsgButton::OK);
    platform::ModuleApplication::setMainWindowHandle(0);
    const QPoint ownerCentre = application.frameGeometry().center();
    QVERIFY2((centre - ownerCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("(%1, %2) against (%3, %4)")
                            .arg(centre.x())
                            .arg(centre.y())
                            .arg(ownerCentre.x())
                            .arg(ownerCentre.y())));
}

void TestMessageDialog::iniFileBesideExecutable()
{
    QCOMPARE(ReadIniValue("Korlivapos.ini", "ColorOption", "backcolor", "15528176"),
             QStringLiteral("15528176"));
    writeColor(" \"255\" ");
    QCOMPARE(ReadIniValue("Korlivapos.ini", "coloroption", "BACKCOLOR", "15528176"),
             QStringLiteral("255"));
    QCOMPARE(ReadIniValue("Korlivapos.ini", "ColorOption", "forecolor", "d"), QStringLiteral("d"));
    QCOMPARE(ReadIniValue("Other.ini", "ColorOption", "backcolor", "d"), QStringLiteral("d"));
}

QTEST_MAIN(TestMessageDialog)
#include "MessageDialogTest.moc"
