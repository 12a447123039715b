#include "scenario/scenariofields.h"

#include "scenario/entrysettings.h"
#include "scenario/fielddefinitions.h"

namespace velmora {

namespace {

TNumericEntryField* MakeNumeric(const NumericFieldDefinition& d, EntrySettings& settings,
                                QWidget* parent) {
    const auto kind = d.kind == NumberKind::Integer ? TNumericEntryField::Kind::Integer
                                                    : TNumericEntryField::Kind::Real;
    const TNumericEntryField::Setup setup{
        kind, QString::fromLatin1(d.mask.data(), static_cast<qsizetype>(d.mask.size())), d.low,
        d.high};
    auto* field = new TNumericEntryField(setup, settings, parent);
    field->setObjectName(QString::fromLatin1(d.name.data(), static_cast<qsizetype>(d.name.size())));
    return field;
}

TTextEntryField* MakeText(const char* name, EntrySettings& settings, QWidget* parent) {
    auto* field = new TTextEntryField(settings, parent, static_cast<int>(kTextFieldLength));
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

void SetNewValue(TNumericEntryField* field, const NumericFieldDefinition& d) {
    if (d.kind == NumberKind::Integer) {
        field->SetValueInteger(static_cast<std::int32_t>(d.newValue));
    } else {
        field->SetValueExtended(d.newValue);
    }
}

}  // namespace

ScenarioFields CreateScenarioFields(EntrySettings& settings, QWidget* parent) {
    ScenarioFields f;
    f.oClientName = MakeText("oClientName", settings, parent);
    f.oDescription = MakeText("oDescription", settings, parent);
    f.oPreparer = MakeText("oPreparer", settings, parent);
    f.oCola = MakeNumeric(kColaField, settings, parent);
    f.oRate = MakeNumeric(kRateField, settings, parent);
    f.oYears = MakeNumeric(kYearsField, settings, parent);
    f.oEarlyMonth = MakeNumeric(kEarlyMonthField, settings, parent);
    f.oEarlyYear = MakeNumeric(kEarlyYearField, settings, parent);
    f.oEarlyBenefit = MakeNumeric(kEarlyBenefitField, settings, parent);
    f.oLaterMonth = MakeNumeric(kLaterMonthField, settings, parent);
    f.oLaterYear = MakeNumeric(kLaterYearField, settings, parent);
    f.oLaterBenefit = MakeNumeric(kLaterBenefitField, settings, parent);
    f.oAge = MakeNumeric(kAgeField, settings, parent);
    const auto order = TabOrder(f);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    return f;
}

std::array<TEntryField*, 13> TabOrder(const ScenarioFields& f) {
    return {f.oClientName, f.oDescription,  f.oPreparer,  f.oCola,         f.oRate,
            f.oYears,      f.oEarlyMonth,   f.oEarlyYear, f.oEarlyBenefit, f.oLaterMonth,
            f.oLaterYear,  f.oLaterBenefit, f.oAge};
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
    SetNewValue(f.oCola, kColaField);
    SetNewValue(f.oYears, kYearsField);
    SetNewValue(f.oRate, kRateField);
    SetNewValue(f.oAge, kAgeField);
    SetNewValue(f.oEarlyMonth, kEarlyMonthField);
    SetNewValue(f.oEarlyYear, kEarlyYearField);
    SetNewValue(f.oLaterMonth, kLaterMonthField);
    SetNewValue(f.oLaterYear, kLaterYearField);
    SetNewValue(f.oEarlyBenefit, kEarlyBenefitField);
    SetNewValue(f.oLaterBenefit, kLaterBenefitField);
}

}  // namespace velmora
