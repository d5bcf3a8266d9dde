#include "LoadReport.h"

#include <algorithm>
#include <cmath>

namespace {

QString listed(const QMap<QString, int>& counts)
{
    QStringList parts;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
}

} // namespace

double LoadReport::batchesPerSecond() const
{
    return seconds > 0 ? committedBatches() / seconds : 0;
}

int LoadReport::committedBatches() const
{
    int count = 0;
    for (const ClerkResult& result : results)
        count += int(result.committedBatches.size());
    return count;
}

int LoadReport::failedBatches() const
{
    int count = 0;
    for (const ClerkResult& result : results)
        count += int(result.failedBatches.size());
    return count;
}

QMap<QString, int> LoadReport::sum(QMap<QString, int> ClerkResult::*member) const
{
    QMap<QString, int> total;
    for (const ClerkResult& result : results)
        for (auto it = (result.*member).cbegin(); it != (result.*member).cend(); ++it)
            total[it.key()] += it.value();
    return total;
}

double LoadReport::percentile(QList<double> ClerkResult::*member, double p) const
{
    QList<double> values;
    for (const ClerkResult& result : results)
        values += result.*member;
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype rank = qsizetype(std::ceil(p * double(values.size()))) - 1;
    return values[std::clamp<qsizetype>(rank, 0, values.size() - 1)];
}

bool LoadReport::passed() const
{
    return problems.isEmpty() && brokenInvariants.isEmpty() &&
           sum(&ClerkResult::failures).isEmpty();
}

QString LoadReport::details() const
{
    qsizetype queries = 0;
    for (const ClerkResult& result : results)
        queries += result.queryMilliseconds.size();
    QStringList lines;
    lines << QStringLiteral("%1: %2 clerks for %3 s")
                 .arg(backend)
                 .arg(clerks)
                 .arg(seconds, 0, 'f', 1);
    lines << QStringLiteral("  steps: ") + listed(sum(&ClerkResult::steps));
    lines << QStringLiteral("  batches: %1 committed (%2/s), %3 failed")
                 .arg(committedBatches())
                 .arg(batchesPerSecond(), 0, 'f', 1)
                 .arg(failedBatches());
    lines << QStringLiteral("  ExecuteBatch ms: p50 %1, p99 %2")
                 .arg(percentile(&ClerkResult::batchMilliseconds, 0.5), 0, 'f', 2)
                 .arg(percentile(&ClerkResult::batchMilliseconds, 0.99), 0, 'f', 2);
    lines << QStringLiteral("  QueryData ms: p50 %1, p99 %2 (%3 queries)")
                 .arg(percentile(&ClerkResult::queryMilliseconds, 0.5), 0, 'f', 2)
                 .arg(percentile(&ClerkResult::queryMilliseconds, 0.99), 0, 'f', 2)
                 .arg(queries);
    lines << QStringLiteral("  expected collisions: ") + listed(sum(&ClerkResult::collisions));
    lines << QStringLiteral("  failures: ") + listed(sum(&ClerkResult::failures));
    for (const QString& problem : problems)
        lines << QStringLiteral("  problem: ") + problem;
    lines << QStringLiteral("  invariants (%1 trail batches matched): %2")
                 .arg(matchedTrailBatches)
                 .arg(brokenInvariants.isEmpty()
                          ? QStringLiteral("all held")
                          : QStringLiteral("%1 broken").arg(brokenInvariants.size()));
    for (const QString& broken : brokenInvariants.mid(0, 20))
        lines << QStringLiteral("    ") + broken;
    return lines.join(QLatin1Char('\n'));
}

QString LoadReport::tableHeader()
{
    return QStringLiteral(
        "| database | clerks | s | batches/s | committed / failed | ExecuteBatch p50 / p99 ms |"
        " QueryData p50 / p99 ms | expected collisions | failures | invariant breaks |\n"
        "|---|---|---|---|---|---|---|---|---|---|");
}

QString LoadReport::tableRow() const
{
    int failures = 0;
    for (int count : sum(&ClerkResult::failures))
        failures += count;
    return QStringLiteral("| %1 | %2 | %3 | %4 | %5 / %6 | %7 / %8 | %9 / %10 | %11 | %12 | %13 |")
        .arg(backend)
        .arg(clerks)
        .arg(seconds, 0, 'f', 0)
        .arg(batchesPerSecond(), 0, 'f', 1)
        .arg(committedBatches())
        .arg(failedBatches())
        .arg(percentile(&ClerkResult::batchMilliseconds, 0.5), 0, 'f', 1)
        .arg(percentile(&ClerkResult::batchMilliseconds, 0.99), 0, 'f', 1)
        .arg(percentile(&ClerkResult::queryMilliseconds, 0.5), 0, 'f', 1)
        .arg(percentile(&ClerkResult::queryMilliseconds, 0.99), 0, 'f', 1)
        .arg(listed(sum(&ClerkResult::collisions)))
        .arg(failures + int(problems.size()))
        .arg(brokenInvariants.size());
}
