#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// What one clerk process did in its run, passed to the benchmark as a JSON file.
struct ClerkResult {
    QString operatorCode;
    double seconds = 0;            // how long the script ran
    QMap<QString, int> steps;      // steps run, by name
    QMap<QString, int> collisions; // expected refusals and collisions, by kind
    QMap<QString, int> failures;   // anything else the window showed, by message
    QList<double> queryMilliseconds;
    QList<double> batchMilliseconds;
    QStringList committedBatches;
    QStringList failedBatches;

    // Writes the result to path; false when it cannot.
    bool save(const QString& path) const;
    // Reads a result written by save; false (result unchanged) when it cannot.
    bool load(const QString& path);
};
