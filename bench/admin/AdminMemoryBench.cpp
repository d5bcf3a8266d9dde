// Peak memory of nelvo-admin importing storage areas and mappings into a fresh SQLite
// database, and of the dry runs of the same files, at 100,000 and 5,000,000 rows (or the
// row counts given as arguments). Each command runs as its own process; its peak resident
// set comes from the kernel when it ends. Prints one line per command.
#include "BenchDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int AreaCount = 100;

struct Measure {
    int status = -1;
    long peakKilobytes = 0;
    double seconds = 0;
};

// Runs the program with arguments, its output discarded; its exit status and peak memory.
Measure runProgram(const QString& program, const QStringList& arguments)
{
    std::vector<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        texts.push_back(argument.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Measure measure;
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return measure;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return measure;
    measure.seconds = double(timer.nsecsElapsed()) / 1e9;
    measure.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    measure.peakKilobytes = usage.ru_maxrss; // kilobytes on Linux
    return measure;
}

bool writeLines(const QString& path, const QByteArray& header,
                const std::function<QByteArray(int)>& line, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != header.size())
        return false;
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        block += line(i);
        if (block.size() > (1 << 20) || i + 1 == count) {
            if (file.write(block) != block.size())
                return false;
            block.clear();
        }
    }
    return true;
}

QByteArray storageCode(int i)
{
    return "S" + QByteArray::number(i).rightJustified(7, '0');
}

bool measureRows(const QString& program, const QTemporaryDir& folder, int rows)
{
    const QString database = folder.filePath(QStringLiteral("memory-%1.sqlite").arg(rows));
    const QString areas = folder.filePath(QStringLiteral("areas.csv"));
    const QString storage = folder.filePath(QStringLiteral("storage.csv"));
    const QString mappings = folder.filePath(QStringLiteral("mappings.csv"));
    const auto areaCode = [](int i) {
        return "A" + QByteArray::number(i % AreaCount).rightJustified(3, '0');
    };
    if (!createBenchDatabase(database) ||
        !writeLines(
            areas, "f_qybm,f_qymc,f_qylx\n", [&](int i) { return areaCode(i) + ",拣货区,PICK\n"; },
            AreaCount) ||
        !writeLines(
            storage, "f_ccqybm,f_ccqymc\n",
            [](int i) { return storageCode(i) + ",储位 " + QByteArray::number(i) + "\n"; }, rows) ||
        !writeLines(
            mappings, "f_qylx,f_qybm,f_ccqybm\n",
            [&](int i) { return "PICK," + areaCode(i) + "," + storageCode(i) + "\n"; }, rows))
        return false;
    const QStringList session{"--database", database, "--operator", BenchOperator};
    if (runProgram(program, session + QStringList{"import", "areas", areas}).status != 0)
        return false;
    const struct {
        const char* table;
        const char* file;
        bool dryRun;
    } steps[] = {{"storage-areas", "storage.csv", true},
                 {"storage-areas", "storage.csv", false},
                 {"mappings", "mappings.csv", true},
                 {"mappings", "mappings.csv", false}};
    for (const auto& step : steps) {
        QStringList arguments =
            session + QStringList{"import", step.table, folder.filePath(step.file)};
        if (step.dryRun)
            arguments << "--dry-run";
        const Measure measure = runProgram(program, arguments);
        if (measure.status != 0) {
            std::fprintf(stderr, "import %s failed (exit %d)\n", step.table, measure.status);
            return false;
        }
        std::printf("| %9d | %-13s | %-7s | %8.1f MB | %7.1f s |\n", rows, step.table,
                    step.dryRun ? "dry run" : "import", double(measure.peakKilobytes) / 1024,
                    measure.seconds);
        std::fflush(stdout);
    }
    QFile::remove(database);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/nelvo-admin");
    QList<int> counts{100000, 5000000};
    if (argc > 1) {
        counts.clear();
        for (int i = 1; i < argc; ++i)
            counts << QByteArray(argv[i]).toInt();
    }
    QTemporaryDir folder;
    std::printf("| rows      | table         | command | peak RSS    | time      |\n"
                "|-----------|---------------|---------|-------------|-----------|\n");
    for (int rows : counts) {
        if (rows <= 0 || !measureRows(program, folder, rows))
            return 1;
    }
    return 0;
}
