// Hand-made files through the entry fields: whatever a file holds, the fields show it
// without harm and the getters deliver 0 or a value the field can show.
#include <gtest/gtest.h>

#include <QWidget>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "scenario/entrysettings.h"
#include "scenario/extendedreal.h"
#include "scenario/scenariocodec.h"
#include "scenario/scenariofields.h"

namespace velmora {
namespace {

constexpr std::size_t kCola = 304, kRate = 320, kEarlyBenefit = 352, kLaterBenefit = 368;
constexpr std::size_t kYears = 316, kEarlyYear = 336, kAge = 348;

void PutRealBytes(ScenarioBytes& b, std::size_t at, const ExtendedBytes& real) {
    std::copy(real.begin(), real.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

void PutAllReals(ScenarioBytes& b, const ExtendedBytes& real) {
    for (const std::size_t at : {kCola, kRate, kEarlyBenefit, kLaterBenefit}) {
        PutRealBytes(b, at, real);
    }
}

void PutAllReals(ScenarioBytes& b, long double value) {
    PutAllReals(b, PackExtended(value));
}

void PutInt(ScenarioBytes& b, std::size_t at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// The scenario a file held, as bytes, so that encodings no value can produce are tried.
ScenarioBytes Valid() {
    TScenarioRec r;
    r.ClientName = "Jane";
    r.Cola = 2.5L;
    r.Years = 20;
    r.Rate = 3;
    r.EarlyMonth = 1;
    r.EarlyYear = 2001;
    r.LaterMonth = 1;
    r.LaterYear = 2004;
    r.Age = 62;
    r.EarlyBenefit = 1000;
    r.LaterBenefit = 1400;
    return EncodeScenarioRecord(r);
}

ExtendedBytes Raw(std::uint64_t significand, unsigned word) {
    ExtendedBytes b{};
    for (std::size_t i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    b[8] = static_cast<std::uint8_t>(word);
    b[9] = static_cast<std::uint8_t>(word >> 8);
    return b;
}

struct HandMade {
    const char* name;
    std::function<void(ScenarioBytes&)> change;
};

const long double kInf = std::numeric_limits<long double>::infinity();
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr std::uint64_t kJ = std::uint64_t{1} << 63;

const HandMade kHandMade[] = {
    {"benefit 100,000",
     [](ScenarioBytes& b) { PutRealBytes(b, kEarlyBenefit, PackExtended(1e5L)); }},
    {"benefit 123,456,789.987",
     [](ScenarioBytes& b) { PutRealBytes(b, kLaterBenefit, PackExtended(123456789.987L)); }},
    {"percentages 1,000", [](ScenarioBytes& b) { PutRealBytes(b, kCola, PackExtended(1000)); }},
    {"every real 1E+4000", [](ScenarioBytes& b) { PutAllReals(b, 1e4000L); }},
    {"every real the largest finite",
     [](ScenarioBytes& b) { PutAllReals(b, std::numeric_limits<long double>::max()); }},
    {"every real -1E+4000", [](ScenarioBytes& b) { PutAllReals(b, -1e4000L); }},
    {"every real negative", [](ScenarioBytes& b) { PutAllReals(b, -2.5L); }},
    {"every real negative zero", [](ScenarioBytes& b) { PutAllReals(b, -0.0L); }},
    {"every real a denormal",
     [](ScenarioBytes& b) { PutAllReals(b, std::numeric_limits<long double>::denorm_min()); }},
    {"every real 0.00005 (a tie at 4 decimals)", [](ScenarioBytes& b) { PutAllReals(b, 5e-5L); }},
    {"every real NaN", [](ScenarioBytes& b) { PutAllReals(b, kNaN); }},
    {"every real -NaN", [](ScenarioBytes& b) { PutAllReals(b, -kNaN); }},
    {"every real infinity", [](ScenarioBytes& b) { PutAllReals(b, kInf); }},
    {"every real -infinity", [](ScenarioBytes& b) { PutAllReals(b, -kInf); }},
    {"every real a signalling NaN", [](ScenarioBytes& b) { PutAllReals(b, Raw(kJ | 1, 0x7FFF)); }},
    {"every real an unnormal", [](ScenarioBytes& b) { PutAllReals(b, Raw(kJ >> 1, 0x4005)); }},
    {"every real a pseudo-zero", [](ScenarioBytes& b) { PutAllReals(b, Raw(0, 0x3FFF)); }},
    {"every real a pseudo-infinity", [](ScenarioBytes& b) { PutAllReals(b, Raw(0, 0x7FFF)); }},
    {"every real a pseudo-denormal", [](ScenarioBytes& b) { PutAllReals(b, Raw(kJ, 0x8000)); }},
    {"year 10000", [](ScenarioBytes& b) { PutInt(b, kEarlyYear, 10000); }},
    {"year 70000", [](ScenarioBytes& b) { PutInt(b, kEarlyYear, 70000); }},
    {"year 1999", [](ScenarioBytes& b) { PutInt(b, kEarlyYear, 1999); }},
    {"year -1", [](ScenarioBytes& b) { PutInt(b, kEarlyYear, -1); }},
    {"years 99", [](ScenarioBytes& b) { PutInt(b, kYears, 99); }},
    {"years the smallest integer",
     [](ScenarioBytes& b) { PutInt(b, kYears, std::numeric_limits<std::int32_t>::min()); }},
    {"age 100", [](ScenarioBytes& b) { PutInt(b, kAge, 100); }},
    {"length byte 255",
     [](ScenarioBytes& b) {
         b[0] = 255;
         for (std::size_t i = 1; i <= 100; ++i)
             b[i] = 'a';
     }},
    {"zero byte inside a text", [](ScenarioBytes& b) { b[2] = 0; }},
    {"every byte FF", [](ScenarioBytes& b) { b.fill(0xFF); }},
};

struct NumericField {
    const char* name;
    TNumericEntryField* field;
    bool real;
    long double low;
    long double high;
};

class HandMadeFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_.reportError = [](QWidget*, const QString&) {};
        fields_ = CreateScenarioFields(settings_, &page_);
    }

    std::vector<NumericField> Numeric() const {
        return {{"Cola", fields_.oCola, true, 0, 100},
                {"Rate", fields_.oRate, true, 0, 100},
                {"Years", fields_.oYears, false, 1, 40},
                {"EarlyMonth", fields_.oEarlyMonth, false, 1, 12},
                {"EarlyYear", fields_.oEarlyYear, false, 2000, 2100},
                {"EarlyBenefit", fields_.oEarlyBenefit, true, 0, kNoUpperBound},
                {"LaterMonth", fields_.oLaterMonth, false, 1, 12},
                {"LaterYear", fields_.oLaterYear, false, 2000, 2100},
                {"LaterBenefit", fields_.oLaterBenefit, true, 0, kNoUpperBound},
                {"Age", fields_.oAge, false, 1, 99}};
    }

    // Shows the file's values, then checks what every getter and a new Save deliver.
    void ShowAndCheck(const ScenarioBytes& file) {
        ShowScenario(fields_, DecodeScenarioRecord(file));
        for (const NumericField& f : Numeric()) {
            SCOPED_TRACE(f.name);
            const long double v = f.real ? f.field->ValueAsExtended()
                                         : static_cast<long double>(f.field->ValueAsInteger());
            ASSERT_TRUE(std::isfinite(v)) << v;
            EXPECT_TRUE(v == 0 || (f.low <= v && v <= f.high)) << v;
            if (f.real) {
                EXPECT_EQ(static_cast<double>(v), f.field->ValueAsDouble());
            }
        }
        for (TTextEntryField* text :
             {fields_.oClientName, fields_.oDescription, fields_.oPreparer}) {
            EXPECT_LE(text->ValueAsText().size(), 100);
            EXPECT_FALSE(text->ValueAsText().contains(QChar(0)));
        }
        const TScenarioRec saved =
            DecodeScenarioRecord(EncodeScenarioRecord(CollectScenario(fields_)));
        for (const long double v :
             {saved.Cola, saved.Rate, saved.EarlyBenefit, saved.LaterBenefit}) {
            EXPECT_TRUE(std::isfinite(v));
        }
    }

    EntrySettings settings_;
    QWidget page_;
    ScenarioFields fields_;
};

// The window's fields are made from the inputs table: each in its place in the Tab order,
// named as the table says, with the table's mask and bounds, its start and New values.
TEST_F(HandMadeFiles, FieldsAreMadeFromTheInputsTable) {
    const auto order = TabOrder(fields_);
    ShowScenario(fields_, TScenarioRec{});
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const ScenarioInput& input = kScenarioInputs[i];
        SCOPED_TRACE(std::string(input.widget));
        EXPECT_EQ(order[i]->objectName().toStdString(), input.widget);
        if (!input.IsNumeric()) {
            EXPECT_EQ(order[i], TextField(fields_, input));
            continue;
        }
        TNumericEntryField* field = ::velmora::NumericField(fields_, input);
        EXPECT_EQ(order[i], field);
        EXPECT_EQ(field->Model().Kind(), input.Number());
        EXPECT_EQ(field->Model().Mask().Text(), input.mask);
        EXPECT_EQ(field->Model().Low(), input.low);
        EXPECT_EQ(field->Model().High(), input.high);
        ResetScenario(fields_);
        EXPECT_EQ(field->Model().Read().value, input.newValue);
    }
    QWidget page;
    const ScenarioFields fresh = CreateScenarioFields(settings_, &page);
    for (const ScenarioInput& input : kScenarioInputs) {
        if (input.IsNumeric()) {
            EXPECT_EQ(::velmora::NumericField(fresh, input)->Model().Read().value,
                      input.StartValue());
        }
    }
}

TEST_F(HandMadeFiles, ValuesNoFieldCanShowAreShownSafelyAndReadAsZeroOrShowable) {
    for (const HandMade& c : kHandMade) {
        SCOPED_TRACE(c.name);
        ScenarioBytes file = Valid();
        c.change(file);
        ShowAndCheck(file);
    }
}

TEST_F(HandMadeFiles, ValuesOutsideTheRulesAreShownAndReadAsZero) {
    ScenarioBytes file = Valid();
    PutInt(file, kEarlyYear, 1999);
    PutInt(file, kYears, 99);
    PutRealBytes(file, kCola, PackExtended(250));
    ShowScenario(fields_, DecodeScenarioRecord(file));
    EXPECT_EQ(0, fields_.oEarlyYear->ValueAsInteger());
    EXPECT_EQ(0, fields_.oYears->ValueAsInteger());
    EXPECT_EQ(0, fields_.oCola->ValueAsExtended());
    EXPECT_EQ(2004, fields_.oLaterYear->ValueAsInteger());
    EXPECT_EQ(3, fields_.oRate->ValueAsExtended());
}

TEST_F(HandMadeFiles, TextsAreCutAtTheSlotAndAtAZeroByte) {
    ScenarioBytes file = Valid();
    file[0] = 150;
    for (std::size_t i = 1; i <= 100; ++i)
        file[i] = 'q';
    file[101] = 5;
    const char description[] = {'A', 'b', 0, 'c', 'd'};
    std::copy(std::begin(description), std::end(description), file.begin() + 102);
    ShowScenario(fields_, DecodeScenarioRecord(file));
    EXPECT_EQ(QString(100, 'q'), fields_.oClientName->ValueAsText());
    EXPECT_EQ(QStringLiteral("Ab"), fields_.oDescription->ValueAsText());
}

TEST_F(HandMadeFiles, RandomRecordsThroughTheFields) {
    std::mt19937_64 rng(31337);
    const ExtendedBytes specials[] = {
        PackExtended(kNaN), PackExtended(-kInf), Raw(kJ >> 1, 0x4005),   Raw(kJ, 0),
        Raw(0, 0x7FFF),     PackExtended(1e9L),  PackExtended(-1e-4000L)};
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        ScenarioBytes file{};
        for (auto& byte : file)
            byte = static_cast<std::uint8_t>(rng());
        for (const std::size_t at : {kCola, kRate, kEarlyBenefit, kLaterBenefit}) {
            if (rng() % 2 == 0)
                PutRealBytes(file, at, specials[rng() % std::size(specials)]);
        }
        ShowAndCheck(file);
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace velmora
