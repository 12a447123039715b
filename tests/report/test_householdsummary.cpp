// The couple's grid by year of age, and the one-page summary of a couple's search on paper.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "engine/moneytext.h"
#include "planner/optimiser.h"
#include "report/summary/clientsummary.h"
#include "report/summary/householdview.h"

namespace velmora {
namespace {

using planner::Month;

planner::HouseholdInputs Couple() {
    planner::HouseholdInputs in;
    in.client.born = {1962, 3, 15};
    in.client.sex = planner::Sex::Female;
    in.client.piaCents = 200000;
    planner::PersonInputs spouse;
    spouse.born = {1960, 8, 2};
    spouse.sex = planner::Sex::Male;
    spouse.piaCents = 90000;
    in.spouse = spouse;
    in.asOf = {2024, 1, 10};
    in.cola = 2.5;
    in.rate = 3;
    return in;
}

// A made-up search whose values are known: each cell must hold the largest pair of its two
// years of age, the earlier months winning a tie, and a year no month reaches stays empty.
TEST(PairCells, BestPairWithinEachYearOfAge) {
    const planner::HouseholdInputs in = Couple();
    planner::CoupleSearch search;
    // Client: attains 62 on 2024-03-14, so from 2024-04 to 70 in 2032-03 (96 months);
    // spouse: 63y 5m at the as-of month, from 2024-01 to 2030-08.
    search.clientFirst = Month::Of(2024, 4);
    search.clientCount = 96;
    search.spouseFirst = Month::Of(2024, 1);
    search.spouseCount = 80;
    search.values.resize(static_cast<std::size_t>(search.clientCount * search.spouseCount));
    for (int c = 0; c < search.clientCount; ++c)
        for (int s = 0; s < search.spouseCount; ++s)
            search.values[static_cast<std::size_t>(c * search.spouseCount + s)] =
                // Flat within a year for the client's 64th, so the earliest month wins.
                (c >= 24 && c < 36 ? 1000 : c % 12) * 100.0L + (s * 7) % 13;
    const auto cells = PairCells(search, in);
    ASSERT_EQ(cells.size(), static_cast<std::size_t>(kGridAges));
    struct Case {
        int clientAge;
        int spouseAge;
        bool possible;
        Month client;
        Month spouse;
    };
    const Case cases[] = {
        // The spouse's ages 62 and 63 lie before the as-of month.
        {62, 62, false, {}, {}},
        {62, 63, true, Month::Of(2025, 2), Month::Of(2024, 6)},
        // A tie over most of the client's 64th year: the first of the tied months.
        {64, 65, true, Month::Of(2026, 4), Month::Of(2026, 1)},
        // 70 holds only the month it is attained.
        {70, 70, true, Month::Of(2032, 3), Month::Of(2030, 8)},
    };
    for (const Case& c : cases) {
        const PairCell& cell = cells[static_cast<std::size_t>(c.clientAge - kGridFirstAge)]
                                    [static_cast<std::size_t>(c.spouseAge - kGridFirstAge)];
        EXPECT_EQ(cell.possible, c.possible) << c.clientAge << "/" << c.spouseAge;
        if (!c.possible)
            continue;
        EXPECT_EQ(planner::MonthText(cell.client), planner::MonthText(c.client)) << c.clientAge;
        EXPECT_EQ(planner::MonthText(cell.spouse), planner::MonthText(c.spouse)) << c.spouseAge;
        EXPECT_EQ(cell.value, search.Value(cell.client, cell.spouse));
    }
}

TEST(PairWords, NamesMonthsAndAges) {
    const planner::HouseholdInputs in = Couple();
    EXPECT_EQ(PairWords(in, Month::Of(2030, 10), Month::Of(2027, 8)),
              "Client claims 2030-10 at 68y 7m, spouse 2027-08 at 67y 0m");
}

// The summary's text, as a reader of the PDF finds it: both names, the best pair in words,
// the references and what the survivor would receive.
TEST(HouseholdSummary, PdfNamesBothPeopleThePairAndTheSurvivor) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const TMoneyFormat saved = MoneyFormat();
    MoneyFormat() = TMoneyFormat::UnitedStates();
    planner::HouseholdInputs in = Couple();
    in.client.born = {1960, 3, 15};
    in.spouse->born = {1961, 9, 20};
    in.asOf = {2022, 6, 1};
    const planner::HouseholdModel model(in);
    const planner::CoupleSearch search = model.SearchCouple();
    HouseholdSummaryInputs s;
    s.clientName = "Pat Example";
    s.spouseName = "Sam Example";
    s.preparer = "Lee Advisor";
    s.dateText = "12/10/2026";
    s.inputs = in;
    s.couple = &search;
    const ClientSummary summary = BuildHouseholdSummary(s);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("couple.pdf"));
    WriteClientSummaryPdf(summary, path.toStdString());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    // Words a line break may split are compared with the blanks taken out.
    const QString pdf =
        QString::fromUtf8(text.readAllStandardOutput()).simplified().remove(QLatin1Char(' '));
    const auto has = [&pdf](const std::string& words) {
        return pdf.contains(QString::fromStdString(words).remove(QLatin1Char(' ')));
    };
    EXPECT_TRUE(has("Clients: Pat Example and Sam Example"));
    EXPECT_TRUE(has("Spouse: born 1961-09-20, male"));
    EXPECT_TRUE(has("Best pair: " + PairWords(in, search.best.client, *search.best.spouse)));
    EXPECT_TRUE(has("Expected value " + MoneyText(search.best.value, 0)));
    for (const ReferenceLine& line : References(search))
        EXPECT_TRUE(has(line.name + ": " + MoneyText(line.choice.value, 0))) << line.name;
    EXPECT_TRUE(has("If the client died in")) << pdf.toStdString();
    EXPECT_TRUE(has("the spouse would receive"));
    EXPECT_TRUE(has("mortality factor 1.00, spouse's 1.00"));
    EXPECT_FALSE(pdf.contains(QStringLiteral("Calculatetosee")));
    MoneyFormat() = saved;
}

}  // namespace
}  // namespace velmora
