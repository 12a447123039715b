#include "scenario/scenariofields.h"

#include "scenario/entrysettings.h"

namespace velmora {

namespace {
using Kind = TNumericEntryField::Kind;
constexpr long double kNoUpperBound = 1.1e4932L;
}  // namespace

ScenarioFields CreateScenarioFields(EntrySettings& settings, QWidget* parent) {
    ScenarioFields f;
    auto numeric = [&](Kind kind, const char* mask, long double low, long double high) {
        return new TNumericEntryField({kind, QString::fromLatin1(mask), low, high}, settings, parent);
    };
    f.oClientName = new TTextEntryField(settings, parent);
    f.oDescription = new TTextEntryField(settings, parent);
    f.oPreparer = new TTextEntryField(settings, parent);
    f.oCola = numeric(Kind::Real, "###.####%", 0, 100);
    f.oRate = numeric(Kind::Real, "###.####%", 0, 100);
    f.oYears = numeric(Kind::Integer, "##", 1, 40);
    f.oEarlyMonth = numeric(Kind::Integer, "##", 1, 12);
    f.oEarlyYear = numeric(Kind::Integer, "####", 2000, 2030);
    f.oEarlyBenefit = numeric(Kind::Real, "$##,###.##", 0, kNoUpperBound);
    f.oLaterMonth = numeric(Kind::Integer, "##", 1, 12);
    f.oLaterYear = numeric(Kind::Integer, "####", 2000, 2030);
    f.oLaterBenefit = numeric(Kind::Real, "$##,###.##", 0, kNoUpperBound);
    f.oAge = numeric(Kind::Integer, "##", 1, 99);
    return f;
}

TScenarioRec CollectScenario(const ScenarioFields& f) {
    TScenarioRec r;
    r.ClientName = f.oClientName->ValueAsText().toStdString();
    r.Description = f.oDescription->ValueAsText().toStdString();
    r.Preparer = f.oPreparer->ValueAsText().toStdString();
    r.Cola = f.oCola->ValueAsExtended();
    r.Years = f.oYears->ValueAsInteger();
    r.Rate = f.oRate->ValueAsExtended();
    r.EarlyMonth = f.oEarlyMonth->ValueAsInteger();
    r.EarlyYear = f.oEarlyYear->ValueAsInteger();
    r.LaterMonth = f.oLaterMonth->ValueAsInteger();
    r.LaterYear = f.oLaterYear->ValueAsInteger();
    r.Age = f.oAge->ValueAsInteger();
    r.EarlyBenefit = f.oEarlyBenefit->ValueAsExtended();
    r.LaterBenefit = f.oLaterBenefit->ValueAsExtended();
    return r;
}

void ShowScenario(const ScenarioFields& f, const TScenarioRec& r) {
    f.oClientName->SetValueText(QString::fromStdString(r.ClientName));
    f.oDescription->SetValueText(QString::fromStdString(r.Description));
    f.oPreparer->SetValueText(QString::fromStdString(r.Preparer));
    f.oCola->SetValueExtended(r.Cola);
    f.oYears->SetValueInteger(r.Years);
    f.oRate->SetValueExtended(r.Rate);
    f.oEarlyMonth->SetValueInteger(r.EarlyMonth);
    f.oEarlyYear->SetValueInteger(r.EarlyYear);
    f.oLaterMonth->SetValueInteger(r.LaterMonth);
    f.oLaterYear->SetValueInteger(r.LaterYear);
    f.oAge->SetValueInteger(r.Age);
    f.oEarlyBenefit->SetValueExtended(r.EarlyBenefit);
    f.oLaterBenefit->SetValueExtended(r.LaterBenefit);
}

void ResetScenario(const ScenarioFields& f) {
    f.oClientName->SetValueText({});
    f.oDescription->SetValueText({});
    f.oCola->SetValueExtended(0);
    f.oYears->SetValueInteger(0);
    f.oRate->SetValueExtended(0);
    f.oAge->SetValueInteger(62);
    f.oEarlyMonth->SetValueInteger(1);
    f.oEarlyYear->SetValueInteger(2001);
    f.oLaterMonth->SetValueInteger(1);
    f.oLaterYear->SetValueInteger(2004);
    f.oEarlyBenefit->SetValueExtended(0);
    f.oLaterBenefit->SetValueExtended(0);
}

}  // namespace velmora
