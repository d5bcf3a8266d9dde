// nelvo-admin: maintenance of the area tables from the command line (CSV import and
// export, the audit trail, carry-forward) over the same data server as the shell.
#include "AdminTool.h"
#include "Console.h"
#include "NelvoBuildInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (nelvo::printVersionIfAsked("nelvo-admin", argc, argv))
        return 0;
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nelvo-admin"));
    QCoreApplication::setOrganizationName(QStringLiteral("nelvo"));
    QFile output;
    QFile errors;
    if (!output.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !errors.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 2;
    admin::Console console(output, errors);
    return admin::AdminTool(console).run(QCoreApplication::arguments());
}
