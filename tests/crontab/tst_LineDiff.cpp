#include "LineDiff.h"

#include <QRandomGenerator>
#include <QTest>
#include <vector>

using namespace Tempolane;

namespace {

// The hunks as a unified diff writes them, "\" after a line without line feed.
QString unified(const LineDiff& diff)
{
    QString text;
    for (const DiffHunk& hunk : diff.hunks()) {
        text += hunk.header() + u'\n';
        for (const DiffLine& line : hunk.lines) {
            const QChar mark = line.kind == DiffLine::Kind::added     ? u'+'
                               : line.kind == DiffLine::Kind::removed ? u'-'
                                                                      : u' ';
            text += mark + line.text + u'\n';
            if (!line.endsWithLineFeed)
                text += QStringLiteral("\\\n");
        }
    }
    return text;
}

// One side of the diff, put together again from its lines.
QString side(const LineDiff& diff, DiffLine::Kind left)
{
    QString text;
    for (const DiffLine& line : diff.lines()) {
        if (line.kind != left)
            text += line.text + (line.endsWithLineFeed ? QStringLiteral("\n") : QString());
    }
    return text;
}

QString numberedLines(int count, const QMap<int, QString>& replaced = {})
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += replaced.value(i, QString::number(i)) + u'\n';
    return text;
}

// The slow way, one row of the table at a time.
qsizetype longestCommonSubsequence(const QStringList& a, const QStringList& b)
{
    std::vector<qsizetype> row(size_t(b.size() + 1));
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = 0;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[size_t(j)];
            row[size_t(j)] =
                a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(above, row[size_t(j - 1)]);
            diagonal = above;
        }
    }
    return row.back();
}

QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(u'\n');
    lines.removeLast();
    return lines;
}

// `count` lines drawn from `pool` different ones.
QString drawnLines(QRandomGenerator& random, int count, int pool)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("0 * * * * job %1\n").arg(random.bounded(pool));
    return text;
}

} // namespace

class LineDiffTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hunksAsAUnifiedDiffPlacesThem_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected");

        QTest::newRow("identical texts have no hunk") << "a\nb\n"
                                                      << "a\nb\n"
                                                      << QString();
        QTest::newRow("from nothing") << QString() << "x\ny\n"
                                      << "@@ -0,0 +1,2 @@\n+x\n+y\n";
        QTest::newRow("to nothing") << "x\n" << QString() << "@@ -1 +0,0 @@\n-x\n";
        QTest::newRow("three lines of context around a change")
            << numberedLines(9) << numberedLines(9, {{5, "five"}})
            << "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n";
        QTest::newRow("changes six lines apart share one hunk")
            << numberedLines(14) << numberedLines(14, {{2, "two"}, {9, "nine"}})
            << "@@ -1,12 +1,12 @@\n 1\n-2\n+two\n 3\n 4\n 5\n 6\n 7\n 8\n-9\n+nine\n 10\n 11\n "
               "12\n";
        QTest::newRow("changes seven lines apart make two hunks")
            << numberedLines(14) << numberedLines(14, {{2, "two"}, {10, "ten"}})
            << "@@ -1,5 +1,5 @@\n 1\n-2\n+two\n 3\n 4\n 5\n"
               "@@ -7,7 +7,7 @@\n 7\n 8\n 9\n-10\n+ten\n 11\n 12\n 13\n";
        QTest::newRow("an added last line feed changes the last line")
            << "a\nb"
            << "a\nb\n"
            << "@@ -1,2 +1,2 @@\n a\n-b\n\\\n+b\n";
        QTest::newRow("a carriage return belongs to its line") << "a\r\nb\n"
                                                               << "a\nb\n"
                                                               << "@@ -1,2 +1,2 @@\n-a\r\n+a\n b\n";
        QTest::newRow("a replaced block lists its removals first")
            << "x\n1\n2\ny\n"
            << "x\nA\nB\ny\n"
            << "@@ -1,4 +1,4 @@\n x\n-1\n-2\n+A\n+B\n y\n";
    }

    void hunksAsAUnifiedDiffPlacesThem()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, expected);
        QCOMPARE(unified(LineDiff::between(from, to)), expected);
    }

    // Against the longest common subsequence found the slow way: every script rebuilds both
    // texts and has no more edits than needed.
    void editScriptsAreShortestAndRebuildBothTexts()
    {
        QRandomGenerator random(13);
        const QStringList alphabet{QStringLiteral("a\n"), QStringLiteral("b\n"),
                                   QStringLiteral("c\n")};
        for (int round = 0; round < 400; ++round) {
            QStringList from;
            QStringList to;
            for (QStringList* lines : {&from, &to}) {
                for (int i = random.bounded(13); i > 0; --i)
                    lines->append(alphabet[random.bounded(3)]);
            }
            const LineDiff diff = LineDiff::between(from.join(QString()), to.join(QString()));
            QCOMPARE(side(diff, DiffLine::Kind::added), from.join(QString()));
            QCOMPARE(side(diff, DiffLine::Kind::removed), to.join(QString()));
            QCOMPARE(diff.addedCount() + diff.removedCount(),
                     from.size() + to.size() - 2 * longestCommonSubsequence(from, to));
        }
    }

    void longTextsGetExactCounts_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<qsizetype>("removed"); // -1: as the slow way counts
        QTest::addColumn<qsizetype>("added");

        QRandomGenerator random(21);
        QMap<int, QString> everyOther;
        for (int i = 2; i <= 20000; i += 2)
            everyOther.insert(i, QStringLiteral("neu %1").arg(i));
        QTest::newRow("every other line of 20,000 rewritten")
            << numberedLines(20000) << numberedLines(20000, everyOther) << qsizetype(10000)
            << qsizetype(10000);
        QString from = QStringLiteral("# gleich\n");
        QString to = from;
        for (int i = 0; i < 1500; ++i) {
            from += QStringLiteral("alt %1\n").arg(i);
            to += QStringLiteral("neu %1\n").arg(i);
        }
        QTest::newRow("nothing in common but the first line")
            << from << to << qsizetype(1500) << qsizetype(1500);
        QTest::newRow("a block of 1,000 lines moved to the end")
            << numberedLines(3000)
            << numberedLines(3000).sliced(numberedLines(1000).size()) + numberedLines(1000)
            << qsizetype(1000) << qsizetype(1000);
        QTest::newRow("3,000 lines from 5 against 2,500 from 5")
            << drawnLines(random, 3000, 5) << drawnLines(random, 2500, 5) << qsizetype(-1)
            << qsizetype(-1);
        QTest::newRow("3,000 lines from 300 against 3,000 from 400")
            << drawnLines(random, 3000, 300) << drawnLines(random, 3000, 400) << qsizetype(-1)
            << qsizetype(-1);
    }

    void longTextsGetExactCounts()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(qsizetype, removed);
        QFETCH(qsizetype, added);
        if (removed < 0) {
            const qsizetype common = longestCommonSubsequence(linesOf(from), linesOf(to));
            removed = linesOf(from).size() - common;
            added = linesOf(to).size() - common;
        }
        const LineDiff diff = LineDiff::between(from, to);
        QCOMPARE(diff.removedCount(), removed);
        QCOMPARE(diff.addedCount(), added);
        QCOMPARE(side(diff, DiffLine::Kind::added), from);
        QCOMPARE(side(diff, DiffLine::Kind::removed), to);
    }
};

QTEST_GUILESS_MAIN(LineDiffTest)
#include "tst_LineDiff.moc"
