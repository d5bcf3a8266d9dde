#pragma once

#include "ClerkResult.h"

#include <QList>
#include <QString>
#include <QStringList>

// The outcome of one load run on one database, summed over its clerks.
struct LoadReport {
    QString backend;
    int clerks = 0;
    double seconds = 0;
    QList<ClerkResult> results;
    QStringList problems;         // clerks that did not start or finish
    QStringList brokenInvariants; // see LoadDatabase::brokenInvariants
    int matchedTrailBatches = 0;

    int committedBatches() const;
    double batchesPerSecond() const; // committed, over the clerks' run time
    int failedBatches() const;
    QMap<QString, int> sum(QMap<QString, int> ClerkResult::*member) const;
    // The p-th percentile (0..1) of all clerks' values of member, in milliseconds.
    double percentile(QList<double> ClerkResult::*member, double p) const;
    // True when nothing but expected collisions happened and every invariant held.
    bool passed() const;

    // The run in detail, several lines.
    QString details() const;
    // The header and one row of the summary table (Markdown).
    static QString tableHeader();
    QString tableRow() const;
};
