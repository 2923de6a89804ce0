#include "PaperRoll.h"

#include <QTest>

// Dots at 8 a millimetre: black-mark:50 has a pitch of 400 dots and marks of 32 that end at
// every pitch; label:40 has 320 and gaps of 24.
class TestPaperRoll : public QObject
{
    Q_OBJECT

private slots:
    void reads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind"); // -1: refused
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("length");
        QTest::newRow("plain") << "plain" << 0 << 0 << 0;
        QTest::newRow("marks, default length") << "black-mark:50" << 1 << 400 << 32;
        QTest::newRow("marks, length") << "black-mark:25.5:6" << 1 << 204 << 48;
        QTest::newRow("labels, default gap") << "label:40" << 2 << 320 << 24;
        QTest::newRow("labels, gap") << "label:40:2.5" << 2 << 320 << 20;
        QTest::newRow("shortest mark") << "black-mark:1:0.5" << 1 << 8 << 4;
        for (const char* refused :
             {"label", "holes:40", "label:4x", "label:0.2", "label:3:3", "label:40:3:1"})
            QTest::newRow(refused) << refused << -1 << 0 << 0;
    }
    void reads()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        std::string refusal;
        const std::optional<PaperRoll> roll = PaperRoll::read(text.toStdString(), refusal);
        QCOMPARE(roll.has_value(), kind >= 0);
        QCOMPARE(refusal.empty(), kind >= 0);
        if (!roll)
            return;
        QCOMPARE(int(roll->kind), kind);
        QFETCH(int, pitch);
        QFETCH(int, length);
        QCOMPARE(roll->pitch, pitch);
        QCOMPARE(roll->length, length);
    }

    void printableWidth()
    {
        PaperRoll roll;
        QCOMPARE(roll.printableDots(), 576);
        QCOMPARE(roll.leftMarginDots(), 32);
        roll.widthMm = 58;
        QCOMPARE(roll.printableDots(), 384);
    }

    void marksAtThePitch()
    {
        std::string refusal;
        const PaperRoll roll = *PaperRoll::read("black-mark:50", refusal);
        // Those that only touch the ends of the stretch are not in it.
        const std::vector<PaperRoll::Span> marks = roll.marksBetween(400, 1169);
        QCOMPARE(marks.size(), size_t(2));
        QCOMPARE(marks[0].from, 768);
        QCOMPARE(marks[0].to, 800);
        QCOMPARE(marks[1].from, 1168);
        QCOMPARE(roll.marksBetween(400, 1168).size(), size_t(1));
        QVERIFY(PaperRoll().marksBetween(0, 5000).empty());
    }

    void moves_data()
    {
        QTest::addColumn<QString>("paper");
        QTest::addColumn<bool>("marksUsed");
        QTest::addColumn<int>("adjustment");
        QTest::addColumn<QChar>("to"); // s print start, S the next one, c cut, p peel, f feed
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("tick");
        const auto row = [](const char* name, const char* paper, bool used, int adjustment, char to,
                            int from, int expected, bool tick) {
            QTest::newRow(name) << paper << used << adjustment << QChar(to) << from << expected
                                << tick;
        };
        row("start where a mark ends", "black-mark:50", true, 0, 's', 0, 0, true);
        row("start at the next mark", "black-mark:50", true, 0, 's', 10, 400, true);
        row("start fed after the mark", "black-mark:50", true, 16, 's', 10, 416, true);
        row("start fed, already there", "black-mark:50", true, 16, 's', 416, 416, true);
        row("start fed, the next one", "black-mark:50", true, 16, 'S', 416, 816, true);
        row("start backfed before the mark", "black-mark:50", true, -16, 's', 10, 384, true);
        row("start backfed under the mark", "black-mark:50", true, -16, 's', 390, 384, true);
        row("cut after the mark", "black-mark:50", true, 64, 'c', 500, 864, false);
        row("cut backfed", "black-mark:50", true, -40, 'c', 100, 360, false);
        row("peel on labels", "label:40", true, 8, 'p', 0, 328, false);
        row("labels start at the next top", "label:40", true, 0, 's', 5, 320, true);
        row("marks off: nothing moves", "black-mark:50", false, 16, 's', 10, 10, false);
        row("plain paper: nothing moves", "plain", true, 16, 's', 10, 10, false);
        row("feed stops at the roll's end", "plain", true, 2000000000, 'f', 10, 1000000000, false);
        row("feed back stops at the start", "plain", true, -100, 'f', 10, 0, false);
    }
    void moves()
    {
        QFETCH(QString, paper);
        QFETCH(QChar, to);
        QFETCH(int, from);
        QFETCH(int, adjustment);
        std::string refusal;
        PaperMotion motion(*PaperRoll::read(paper.toStdString(), refusal));
        motion.feed(from);
        QFETCH(bool, marksUsed);
        const PaperMotion::Adjustments adjustments{marksUsed, adjustment, adjustment, adjustment};
        if (to == u's' || to == u'S')
            motion.toPrintStart(adjustments, to == u's');
        else if (to == u'c')
            motion.toCut(adjustments);
        else if (to == u'p')
            motion.toPeel(adjustments);
        else
            motion.feed(adjustment);
        QFETCH(int, expected);
        QCOMPARE(motion.position(), expected);
        motion.cut();
        const std::vector<PaperMotion::Happened> happened = motion.takeHappened();
        QFETCH(bool, tick);
        QCOMPARE(happened.size(), tick ? size_t(2) : size_t(1));
        QCOMPARE(happened.front().at, expected);
        QCOMPARE(happened.back().event, PaperMotion::Event::Cut);
        QVERIFY(motion.takeHappened().empty());
    }
};

QTEST_GUILESS_MAIN(TestPaperRoll)
#include "tst_paperroll.moc"
