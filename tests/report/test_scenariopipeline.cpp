// The report's data source: its field list, the ten callbacks and the field values.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "engine/schedule.h"
#include "report/reportinputs.h"
#include "report/scenariopipeline.h"
#include "scenario/scenarioinputs.h"
#include "scenario/scenariorec.h"

namespace velmora {
namespace {

class PipelineTest : public ::testing::Test {
  protected:
    PipelineTest() : table(store), inputs(rec), source(inputs, table, cursor) {
        rec.ClientName = "  Pat Example ";
        rec.Description = "Early or later";
        rec.Preparer = "Lee Advisor";
        rec.Cola = 2.5L;
        rec.Rate = 3;
        rec.Years = 3;
        rec.EarlyMonth = 1;
        rec.EarlyYear = 2001;
        rec.EarlyBenefit = 1000;
        rec.LaterMonth = 6;
        rec.LaterYear = 2004;
        rec.LaterBenefit = 1400;
        rec.Age = 62;
        store.SetRowCount(4);
        for (int row = 1; row < 4; ++row)
            for (int column = 0; column < kResultColumns; ++column)
                store.SetCellText(column, row,
                                  "c" + std::to_string(column) + "r" + std::to_string(row));
    }

    MemoryCellStore store;
    TResultTable table;
    TScenarioRec rec;
    RecordInputs inputs;
    std::int32_t cursor = 0;
    ScenarioPipeline source;
};

// Each input of the inputs table is a report field at the table's place, valued from
// its own record member.
TEST_F(PipelineTest, InputFieldsComeFromTheInputsTable) {
    for (const ScenarioInput& input : kScenarioInputs) {
        SCOPED_TRACE(std::string(input.reportField));
        const ReportFieldDef& field =
            source.Fields().at(static_cast<std::size_t>(input.reportPosition));
        EXPECT_EQ(field.FieldName, input.reportField);
        const FieldValue value = source.GetFieldValue(field.FieldName);
        switch (input.kind) {
            case InputKind::Text:
                EXPECT_EQ(value, FieldValue(rec.*input.text));
                break;
            case InputKind::Integer:
                EXPECT_EQ(value, FieldValue(rec.*input.integer));
                break;
            case InputKind::Real:
                EXPECT_EQ(value, FieldValue(static_cast<double>(rec.*input.real)));
                break;
        }
    }
}

TEST_F(PipelineTest, DeclaresItsSettingsAndTwentySixFieldsInPositionOrder) {
    EXPECT_EQ(source.Settings().UserName, "jitPipelineSS");
    EXPECT_EQ(source.Settings().InitialIndex, 0);
    EXPECT_EQ(source.Settings().RecordCount, 99999999);

    const std::vector<std::pair<std::string, TDataType>> expected = {
        {"ClientName", dtString},      {"Description", dtString},
        {"Cola", dtExtended},          {"Rate", dtExtended},
        {"Years", dtInteger},          {"EarlyMonth", dtInteger},
        {"EarlyYear", dtInteger},      {"EarlyBenefit", dtCurrency},
        {"LaterMonth", dtInteger},     {"LaterYear", dtInteger},
        {"LaterBenefit", dtCurrency},  {"Age", dtInteger},
        {"Preparer", dtString},        {"grdYear", dtString},
        {"grdMonths", dtString},       {"grdAge", dtString},
        {"grdEarlyBenefit", dtString}, {"grdAnnualEarlyBenefit", dtString},
        {"grdEarlyPv", dtString},      {"grdEarlyPvCumulative", dtString},
        {"grdLaterBenefit", dtString}, {"grdAnnualLaterBenefit", dtString},
        {"grdLaterPv", dtString},      {"grdLaterPvCumulative", dtString},
        {"grdDifference", dtString},   {"BreakEven", dtString},
    };
    const auto& fields = source.Fields();
    ASSERT_EQ(fields.size(), expected.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(fields[i].Position, static_cast<int>(i));
        EXPECT_EQ(fields[i].FieldName, expected[i].first);
        EXPECT_EQ(fields[i].FieldAlias, expected[i].first);
        EXPECT_EQ(fields[i].DataType, expected[i].second);
        EXPECT_EQ(fields[i].FieldLength, 10);
        EXPECT_EQ(fields[i].DisplayWidth, 10);
    }
}

// R = 4 here: the header row and three years.
TEST_F(PipelineTest, CallbacksMoveTheCursorExactlyAndTestTheEndByEquality) {
    struct Case {
        const char* name;
        std::int32_t from;
        void (*call)(ScenarioPipeline&);
        std::int32_t to;
    };
    const Case cases[] = {
        {"open", 3, [](ScenarioPipeline& s) { s.OpenDataSet(); }, 0},
        {"close", 2, [](ScenarioPipeline& s) { s.CloseDataSet(); }, -1},
        {"first record", 4, [](ScenarioPipeline& s) { s.GotoFirstRecord(); }, 0},
        {"last record is the end position R", 1, [](ScenarioPipeline& s) { s.GotoLastRecord(); },
         4},
        {"step forward onto the end", 3, [](ScenarioPipeline& s) { s.TraverseBy(1); }, 4},
        {"step back from record 1", 1, [](ScenarioPipeline& s) { s.TraverseBy(-1); }, 0},
        {"no bounds check below", 0, [](ScenarioPipeline& s) { s.TraverseBy(-1); }, -1},
        {"no bounds check above", 4, [](ScenarioPipeline& s) { s.TraverseBy(5); }, 9},
        {"bookmark", 0, [](ScenarioPipeline& s) { s.GotoBookmark(17); }, 17},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cursor = c.from;
        c.call(source);
        EXPECT_EQ(cursor, c.to);
    }

    const struct {
        std::int32_t at;
        bool bof, eof;
    } tests[] = {{-1, true, false},
                 {0, false, false},
                 {3, false, false},
                 {4, false, true},
                 {5, false, false}};
    for (const auto& t : tests) {
        SCOPED_TRACE(t.at);
        cursor = t.at;
        EXPECT_EQ(source.CheckBOF(), t.bof);
        EXPECT_EQ(source.CheckEOF(), t.eof);
        EXPECT_EQ(source.GetBookmark(), t.at);
    }
}

TEST_F(PipelineTest, EndPositionFollowsTheTableAtTheMomentOfAsking) {
    cursor = 4;
    EXPECT_TRUE(source.CheckEOF());
    store.SetRowCount(6);
    EXPECT_FALSE(source.CheckEOF());
    source.GotoLastRecord();
    EXPECT_EQ(cursor, 6);
}

TEST_F(PipelineTest, InputFieldsAreReadLiveWhateverTheCursor) {
    for (std::int32_t at : {-1, 0, 2, 4}) {
        SCOPED_TRACE(at);
        cursor = at;
        EXPECT_EQ(source.GetFieldValue("ClientName"), FieldValue("  Pat Example "));
        EXPECT_EQ(source.GetFieldValue("Description"), FieldValue("Early or later"));
        EXPECT_EQ(source.GetFieldValue("Preparer"), FieldValue("Lee Advisor"));
        EXPECT_EQ(source.GetFieldValue("Cola"), FieldValue(2.5));
        EXPECT_EQ(source.GetFieldValue("Rate"), FieldValue(3.0));
        EXPECT_EQ(source.GetFieldValue("Years"), FieldValue(std::int32_t{3}));
        EXPECT_EQ(source.GetFieldValue("EarlyMonth"), FieldValue(std::int32_t{1}));
        EXPECT_EQ(source.GetFieldValue("EarlyYear"), FieldValue(std::int32_t{2001}));
        EXPECT_EQ(source.GetFieldValue("EarlyBenefit"), FieldValue(1000.0));
        EXPECT_EQ(source.GetFieldValue("LaterMonth"), FieldValue(std::int32_t{6}));
        EXPECT_EQ(source.GetFieldValue("LaterYear"), FieldValue(std::int32_t{2004}));
        EXPECT_EQ(source.GetFieldValue("LaterBenefit"), FieldValue(1400.0));
        EXPECT_EQ(source.GetFieldValue("Age"), FieldValue(std::int32_t{62}));
    }
    rec.ClientName = "Someone Else";
    rec.Age = 70;
    EXPECT_EQ(source.GetFieldValue("ClientName"), FieldValue("Someone Else"));
    EXPECT_EQ(source.GetFieldValue("Age"), FieldValue(std::int32_t{70}));
}

TEST_F(PipelineTest, TableFieldsAndBreakEvenAreNullAtTheHeaderRowAndWhenClosed) {
    const char* names[] = {"grdYear",
                           "grdMonths",
                           "grdAge",
                           "grdEarlyBenefit",
                           "grdAnnualEarlyBenefit",
                           "grdEarlyPv",
                           "grdEarlyPvCumulative",
                           "grdLaterBenefit",
                           "grdAnnualLaterBenefit",
                           "grdLaterPv",
                           "grdLaterPvCumulative",
                           "grdDifference"};
    for (std::int32_t at : {0, -1}) {
        cursor = at;
        for (const char* name : names) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(at));
            EXPECT_TRUE(source.GetFieldValue(name).IsNull());
        }
        EXPECT_TRUE(source.GetFieldValue("BreakEven").IsNull());
    }
    cursor = 2;
    for (int column = 0; column < kResultColumns; ++column) {
        SCOPED_TRACE(names[column]);
        EXPECT_EQ(source.GetFieldValue(names[column]),
                  FieldValue("c" + std::to_string(column) + "r2"));
    }
}

TEST_F(PipelineTest, CellTextsAreHandedOverUntrimmedAndEmptyCellsAsEmptyText) {
    store.SetCellText(grdDifference, 1, " ($2,272) ");
    store.SetCellText(grdLaterBenefit, 1, "");
    cursor = 1;
    EXPECT_EQ(source.GetFieldValue("grdDifference"), FieldValue(" ($2,272) "));
    EXPECT_EQ(source.GetFieldValue("grdLaterBenefit"), FieldValue(""));
}

TEST_F(PipelineTest, BreakEvenIsTheResultMessageMadeAtTheMomentOfTheCall) {
    cursor = 4;  // the end position, where the summary reads it
    EXPECT_EQ(source.GetFieldValue("BreakEven"),
              FieldValue("Breakeven point not reached using these parameters."));
    table.BreakEvenFound = true;
    table.BreakEvenYear = "2014";
    EXPECT_EQ(source.GetFieldValue("BreakEven"),
              FieldValue("Breakeven point occurs in the year 2014"));
    cursor = 1;
    EXPECT_EQ(source.GetFieldValue("BreakEven"),
              FieldValue("Breakeven point occurs in the year 2014"));
}

TEST_F(PipelineTest, NamesMatchWholeAndCaseSensitively) {
    cursor = 1;
    for (const char* name :
         {"clientname", "CLIENTNAME", "ClientName ", "Client", "grdyear", "breakeven", "", "Foo"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(source.GetFieldValue(name).IsNull());
    }
}

TEST(NearestDouble, RoundsToNearestAndGivesInfinityBeyondTheDoubleRange) {
    EXPECT_EQ(NearestDouble(0.1L), 0.1);
    EXPECT_EQ(NearestDouble(-1234.5L), -1234.5);
    EXPECT_EQ(NearestDouble(static_cast<long double>(DBL_MAX)), DBL_MAX);
    EXPECT_EQ(NearestDouble(0x1.fffffffffffff7fp1023L), DBL_MAX);
    EXPECT_EQ(NearestDouble(0x1.fffffffffffff8p1023L), HUGE_VAL);
    EXPECT_EQ(NearestDouble(1e4000L), HUGE_VAL);
    EXPECT_EQ(NearestDouble(-1e4000L), -HUGE_VAL);
}

TEST_F(PipelineTest, AnAmountBeyondTheDoubleRangeIsHandedOverAsInfinity) {
    rec.EarlyBenefit = 1e4000L;
    EXPECT_EQ(source.GetFieldValue("EarlyBenefit"), FieldValue(HUGE_VAL));
}

}  // namespace
}  // namespace velmora
