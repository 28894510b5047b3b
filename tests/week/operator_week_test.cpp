// The random operator: every verb it draws, an actions file the preview accepts, the
// same file for the same seed.
#include "operator_week.h"

#include <gtest/gtest.h>

#include "app/operator_actions.h"

namespace {

const QDateTime kMonday(QDate(2026, 12, 7), QTime(0, 0));

TEST(OperatorWeek, EveryVerbComesInAFileThePreviewReadsAndTheSeedRepeatsIt) {
    struct Case {
        std::uint32_t seed;
        int days, count;
    };
    for (const Case c : {Case{1, 1, 20}, Case{7, 7, 3000}, Case{99, 2, 5}}) {
        SCOPED_TRACE(c.seed);
        const OperatorWeek week = RandomOperatorWeek(c.seed, kMonday, c.days, c.count);
        const auto drawn = std::ranges::count_if(OperatorVerbs(), DrawnByRandomOperator);
        EXPECT_EQ(week.lines.size(), std::max<qsizetype>(c.count, drawn));
        EXPECT_EQ(week.lines, RandomOperatorWeek(c.seed, kMonday, c.days, c.count).lines);
        EXPECT_NE(week.lines, RandomOperatorWeek(c.seed + 1, kMonday, c.days, c.count).lines);
        for (const OperatorVerb& verb : OperatorVerbs()) {
            if (DrawnByRandomOperator(verb)) {
                EXPECT_GE(week.perVerb.value(QLatin1String(verb.name)), 1) << verb.name;
            }
        }
        const auto read = ParseOperatorActions("actions", week.lines.join('\n'), kMonday,
                                               kMonday.addDays(c.days));
        EXPECT_TRUE(read.ok()) << read.message().toStdString();
        EXPECT_EQ(read.value.size(), week.lines.size());
    }
    // Numbers far beyond any button or row come too, for the station to refuse.
    const OperatorWeek week = RandomOperatorWeek(5, kMonday, 7, 3000);
    const auto beyond = [](const QString& line) { return line.section(' ', 3).toInt() > 5; };
    EXPECT_GT(std::ranges::count_if(week.lines, beyond), 50);
}

}  // namespace
