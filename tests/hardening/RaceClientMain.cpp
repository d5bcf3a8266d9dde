// Helper of the concurrency test: one clerk's area window on its own data server
// connection, driven by lines on standard input, one answer line each on standard output.
//   hardening_race_client <database> <area node text> <pause ms>
// After "ready", each command is answered:
//   select <node text>  -> "selected" or "missing"
//   map <storage line>  -> "mapped", "skipped" or "error <messages>"  ("<" on that line)
//   add <code>          -> "added" or "error <messages>"               (add dialog, kind PICK)
//   delete              -> "deleted", "kept", "in use" or "error <messages>" (the selected
//                          area; "kept": no message, yet the node is still there)
// The client pauses after its checks (the mapping snapshot, the code query, the usage
// query of delete), so two clients commanded together both check before either writes.
#include "AreaSession.h"
#include "SessionFixture.h"

#include "area/TfrmArea.h"
#include "platform/CoorDisp.h"

#include <QApplication>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

const QString DeleteQuestion = QStringLiteral("提示：|确定要删除此区域档案嘛？");
const QString InUseNotice = QStringLiteral("提示：|该区域正在使用，请先移除此区域对照！");

void answer(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 4)
        return 2;
    SessionFixture fixture;
    QString error;
    if (!fixture.attach(arguments[1], error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const unsigned long pause = arguments[3].toULong();
    fixture.faults().setAfterCall([pause](const testsupport::FaultInjectingServer::Call& call) {
        if (call.dispId == platform::CoorDisp::QueryData &&
            (call.text.startsWith(QLatin1String("select f_qybm,f_ccqybm,f_qylx")) ||
             call.text.startsWith(QLatin1String("Select f_qybm from tbqyda")) ||
             call.text.startsWith(QLatin1String("Select * from tbqydz where"))))
            QThread::msleep(pause);
    });
    fixture.startWindow();
    TfrmArea* window = fixture.window();
    if (!fixture.messages().isEmpty() || !select(window, arguments[2])) {
        std::fprintf(stderr, "start-up failed: %s\n", qPrintable(fixture.messages().join(' ')));
        return 1;
    }
    answer(QStringLiteral("ready"));

    std::string input;
    while (std::getline(std::cin, input)) {
        const QString command = QString::fromStdString(input);
        const qsizetype before = fixture.messages().size();
        bool done = false;
        if (command.startsWith(QLatin1String("select "))) {
            answer(select(window, command.mid(7)) ? QStringLiteral("selected")
                                                  : QStringLiteral("missing"));
            continue;
        }
        if (command == QLatin1String("delete")) {
            const QString node = captureState(window).current;
            window->TbnDelete->click();
            QStringList told = fixture.messages().mid(before);
            told.removeOne(DeleteQuestion);
            if (told == QStringList{InUseNotice})
                answer(QStringLiteral("in use"));
            else if (!told.isEmpty())
                answer(QStringLiteral("error ") + told.join(QLatin1String(" / ")).simplified());
            else
                answer(select(window, node) ? QStringLiteral("kept") : QStringLiteral("deleted"));
            continue;
        }
        if (command.startsWith(QLatin1String("map "))) {
            const QString line = command.mid(4);
            selectOnly(window->listccqyda, line);
            window->btnToLeft->click();
            done = captureState(window).mapped.contains(line);
        } else if (command.startsWith(QLatin1String("add "))) {
            DialogOutcome outcome;
            addArea(fixture, 0, command.mid(4), QStringLiteral("并发"), outcome);
            done = outcome.code.isEmpty(); // the dialog clears its edits after a stored area
        }
        const QStringList told = fixture.messages().mid(before);
        if (!told.isEmpty())
            answer(QStringLiteral("error ") + told.join(QLatin1String(" / ")).simplified());
        else if (done)
            answer(command.startsWith(QLatin1String("map ")) ? QStringLiteral("mapped")
                                                             : QStringLiteral("added"));
        else
            answer(QStringLiteral("skipped"));
    }
    return 0;
}
