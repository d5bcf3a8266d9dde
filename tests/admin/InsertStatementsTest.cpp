// The batched insert texts of the command-line tool: quotes doubled in every value and
// rows split into statements of at most the batch size, compared with a plain rebuild.
#include "AdminTable.h"

#include <QTest>

using admin::AdminTable;

Q_DECLARE_METATYPE(admin::AdminTable)

namespace {

// The statements written the obvious way: one statement per batch, one value at a time.
QString referenceStatements(AdminTable table, const QList<QStringList>& rows, int perStatement)
{
    QString text;
    for (qsizetype first = 0; first < rows.size(); first += perStatement) {
        text += QStringLiteral("insert into ") + admin::adminTableSqlName(table) + " (" +
                admin::adminTableColumns(table).join(", ") + ") values\n";
        QStringList tuples;
        for (qsizetype i = first; i < std::min(rows.size(), first + perStatement); ++i) {
            QStringList literals;
            for (QString value : rows[i])
                literals << "'" + value.replace("'", "''") + "'";
            tuples << "(" + literals.join(", ") + ")";
        }
        text += tuples.join(",\n") + ";\n";
    }
    return text;
}

// count rows of the table's width whose values are awkward for a SQL literal.
QList<QStringList> awkwardRows(AdminTable table, int count)
{
    static const QStringList values{QStringLiteral("O'Brien"), QStringLiteral("'"),
                                    QStringLiteral("''"),      QString(),
                                    QStringLiteral("区'域😀"),  QStringLiteral("a\\'b"),
                                    QStringLiteral("x');--"),  QStringLiteral("line\nbreak")};
    const qsizetype width = admin::adminTableColumns(table).size();
    QList<QStringList> rows;
    for (int i = 0; i < count; ++i) {
        QStringList row;
        for (qsizetype column = 0; column < width; ++column)
            row << values[(i + column) % values.size()] + QString::number(i);
        rows << row;
    }
    return rows;
}

} // namespace

class InsertStatementsTest : public QObject {
    Q_OBJECT

private slots:
    void matchesReference_data();
    void matchesReference();
};

void InsertStatementsTest::matchesReference_data()
{
    QTest::addColumn<AdminTable>("table");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("perStatement");
    QTest::addColumn<int>("statements");

    QTest::newRow("no rows") << AdminTable::Areas << 0 << 500 << 0;
    QTest::newRow("one row") << AdminTable::Areas << 1 << 500 << 1;
    QTest::newRow("499 rows") << AdminTable::Areas << 499 << 500 << 1;
    QTest::newRow("500 rows") << AdminTable::StorageAreas << 500 << 500 << 1;
    QTest::newRow("501 rows") << AdminTable::Mappings << 501 << 500 << 2;
    QTest::newRow("1000 rows") << AdminTable::Areas << 1000 << 500 << 2;
    QTest::newRow("1001 rows") << AdminTable::StorageAreas << 1001 << 500 << 3;
    QTest::newRow("one row a statement") << AdminTable::Mappings << 3 << 1 << 3;
    QTest::newRow("batch of 2, odd count") << AdminTable::Areas << 5 << 2 << 3;
}

void InsertStatementsTest::matchesReference()
{
    QFETCH(AdminTable, table);
    QFETCH(int, rowCount);
    QFETCH(int, perStatement);
    QFETCH(int, statements);

    const QList<QStringList> rows = awkwardRows(table, rowCount);
    const QString text = admin::insertStatements(table, rows, perStatement);
    QCOMPARE(text, referenceStatements(table, rows, perStatement));
    QCOMPARE(text.count(QStringLiteral("insert into ")), statements);
    QCOMPARE(text.count(QStringLiteral(");\n")), statements);
}

QTEST_APPLESS_MAIN(InsertStatementsTest)
#include "InsertStatementsTest.moc"
