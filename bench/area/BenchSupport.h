#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QStringList>

struct sqlite3;
class QTreeWidget;

// What one run of the area benchmark measures: a time per step and the process's peak
// resident memory.
struct Measurement {
    QList<double> milliseconds; // one per step
    qint64 peakKilobytes = 0;
};

inline const QStringList StepNames{"start-up", "select", "<<", ">>"};

// The process's peak resident set (VmHWM) in kilobytes; 0 when it cannot be read.
qint64 peakResidentKilobytes();
// Writes the measurement as one line for the parent process to read.
void printMeasurement(const Measurement& measurement);
// Prints the message on stderr and answers the exit code 1.
int fail(const QString& message);

// The time of step in milliseconds; pending layout and paint run afterwards, untimed.
template <typename Step> double timed(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents();
    return ms;
}

// The floors' database access: plain SQLite C API calls.
namespace FloorSql {

using Rows = QList<QStringList>;
// Every row of a query, each cell as text.
Rows query(sqlite3* db, const QString& sql);
// One line (code column, blank, name column) per row of a query.
QStringList lines(sqlite3* db, const QString& sql, int codeColumn, int nameColumn);
// Runs a batch in one transaction.
void execute(sqlite3* db, const QString& batch);
// Fills the tree with the three kind roots and the areas under them, as the window does.
void fillAreaTree(QTreeWidget* tree, const Rows& areas);
// The batch of "<<" for the benchmark's warehouse: the free half of rows storage areas.
QString allToLeftBatch(int rows);

} // namespace FloorSql

// The floors: the benchmark's steps on the database at path, printed as a measurement.
// Item widgets (one object per line, the lists' former floor), and plain model/view.
int runItemWidgetFloor(const QString& database, int rows);
int runModelViewFloor(const QString& database, int rows);
