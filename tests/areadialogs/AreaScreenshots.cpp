// Saves pictures of the area dialog, the locate dialog, the message dialog and the help
// note over the area window into the folder given as the first argument. Needs a real
// display (an X server); each dialog is shown as its modal loop would show it.
#include "area/AreaModuleState.h"
#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "area/TfrmLocate.h"
#include "area/TfrmQyda.h"
#include "host/HostContext.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"
#include "server/DemoData.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

bool settle(QWidget& widget)
{
    widget.show();
    widget.raise();
    const bool exposed = QTest::qWaitForWindowExposed(&widget);
    QTest::qWait(300);
    return exposed;
}

bool save(const QPixmap& picture, const QDir& folder, const QString& name)
{
    const bool ok = picture.save(folder.filePath(name));
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "FAILED", qPrintable(folder.filePath(name)));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    platform::installFontSubstitutions();

    QTemporaryDir data;
    QString error;
    server::DataServerOptions options;
    options.operatorCode = QString::fromUtf8(server::DemoData::OperatorCode);
    options.createSchema = true;
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(data.filePath(QStringLiteral("demo.db")), options, &error));
    if (!server || !server->loadDemoData(&error)) {
        std::fprintf(stderr, "no demo database: %s\n", qPrintable(error));
        return 1;
    }
    hostContext().Server = platform::DispatchRef<platform::DispatchObject>(server.get());
    hostContext().OperatorCode = options.operatorCode;

    TfrmArea window(nullptr);
    hostContext().AreaForm = &window;
    window.setGeometry(0, 0, 862, 639);
    if (!settle(window)) {
        std::fprintf(stderr, "the window was not shown: no display?\n");
        return 1;
    }
    window.TN->setCurrentItem(window.rootNodes[0]->child(0));

    bool ok = true;
    platform::setModalInterceptor([&](QDialog& dialog) {
        const QString name = dialog.objectName();
        if (auto* area = qobject_cast<TfrmQyda*>(&dialog)) {
            area->edtbm->setText(QStringLiteral("P09"));
            area->edtmc->setText(QStringLiteral("九号拣货区"));
            settle(dialog);
            ok &= save(dialog.grab(), folder, QStringLiteral("area-dialog.png"));
        } else if (auto* locate = qobject_cast<TfrmLocate*>(&dialog)) {
            locate->FlatEdit1->setText(QStringLiteral("P0"));
            settle(dialog);
            ok &= save(dialog.grab(), folder, QStringLiteral("locate-dialog.png"));
        } else if (name == QLatin1String("TMessageForm")) {
            settle(dialog);
            ok &= save(dialog.grab(), folder, QStringLiteral("message-dialog.png"));
        } else if (name == QLatin1String("TRopInst")) {
            settle(dialog);
            // The note over the window, as the screen shows it.
            ok &= save(QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 862, 639), folder,
                       QStringLiteral("help-note.png"));
        }
        dialog.hide();
        return int(QDialog::Rejected);
    });

    window.TbnAddClick();
    window.TbnLocateClick();
    LocateText = QStringLiteral("ZZZ");
    window.FindArea(true);
    window.btnhandClick();
    platform::setModalInterceptor({});
    return ok ? 0 : 1;
}
