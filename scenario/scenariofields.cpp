#include "scenario/scenariofields.h"

#include <stdexcept>

#include "scenario/entrysettings.h"

namespace velmora {

namespace {

struct Slot {
    TTextEntryField** text = nullptr;
    TNumericEntryField** numeric = nullptr;
};

// The struct's members in the inputs table's order (the Tab order).
std::array<Slot, kInputCount> Places(ScenarioFields& f) {
    return {{{&f.oClientName, nullptr},
             {&f.oDescription, nullptr},
             {&f.oPreparer, nullptr},
             {nullptr, &f.oCola},
             {nullptr, &f.oRate},
             {nullptr, &f.oYears},
             {nullptr, &f.oEarlyMonth},
             {nullptr, &f.oEarlyYear},
             {nullptr, &f.oEarlyBenefit},
             {nullptr, &f.oLaterMonth},
             {nullptr, &f.oLaterYear},
             {nullptr, &f.oLaterBenefit},
             {nullptr, &f.oAge}}};
}

std::size_t IndexOf(const ScenarioInput& input) {
    const auto index = static_cast<std::size_t>(&input - kScenarioInputs.data());
    if (index >= kInputCount)
        throw std::logic_error("not a scenario input");
    return index;
}

void SetNumber(TNumericEntryField* field, const ScenarioInput& input, const TScenarioRec& rec) {
    if (input.kind == InputKind::Integer) {
        field->SetValueInteger(rec.*input.integer);
    } else {
        field->SetValueExtended(rec.*input.real);
    }
}

}  // namespace

TTextEntryField* TextField(const ScenarioFields& fields, const ScenarioInput& input) {
    ScenarioFields copy = fields;
    TTextEntryField** slot = Places(copy)[IndexOf(input)].text;
    if (slot == nullptr)
        throw InvalidFieldType();
    return *slot;
}

TNumericEntryField* NumericField(const ScenarioFields& fields, const ScenarioInput& input) {
    ScenarioFields copy = fields;
    TNumericEntryField** slot = Places(copy)[IndexOf(input)].numeric;
    if (slot == nullptr)
        throw InvalidFieldType();
    return *slot;
}

ScenarioFields CreateScenarioFields(EntrySettings& settings, QWidget* parent) {
    ScenarioFields f;
    const auto places = Places(f);
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const ScenarioInput& input = kScenarioInputs[i];
        TEntryField* field = nullptr;
        if (input.IsNumeric()) {
            field = *places[i].numeric = new TNumericEntryField(input, settings, parent);
        } else {
            field = *places[i].text =
                new TTextEntryField(settings, parent, static_cast<int>(kTextFieldLength));
        }
        field->setObjectName(
            QString::fromLatin1(input.widget.data(), static_cast<qsizetype>(input.widget.size())));
    }
    const auto order = TabOrder(f);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    return f;
}

std::array<TEntryField*, kInputCount> TabOrder(const ScenarioFields& fields) {
    ScenarioFields copy = fields;
    std::array<TEntryField*, kInputCount> order{};
    const auto places = Places(copy);
    for (std::size_t i = 0; i < kInputCount; ++i) {
        order[i] = places[i].text ? static_cast<TEntryField*>(*places[i].text)
                                 : static_cast<TEntryField*>(*places[i].numeric);
    }
    return order;
}

namespace {
TScenarioRec Collect(const ScenarioFields& f, bool texts) {
    TScenarioRec r;
    for (const ScenarioInput& input : kScenarioInputs) {
        switch (input.kind) {
            case InputKind::Text:
                if (texts)
                    r.*input.text = TextField(f, input)->ValueAsText().toStdString();
                break;
            case InputKind::Integer:
                r.*input.integer = NumericField(f, input)->ValueAsInteger();
                break;
            case InputKind::Real:
                r.*input.real = NumericField(f, input)->ValueAsExtended();
                break;
        }
    }
    return r;
}
}  // namespace

TScenarioRec CollectScenario(const ScenarioFields& f) {
    return Collect(f, true);
}

TScenarioRec CollectNumbers(const ScenarioFields& f) {
    return Collect(f, false);
}

void ShowScenario(const ScenarioFields& f, const TScenarioRec& r) {
    for (const ScenarioInput& input : kScenarioInputs) {
        if (input.IsNumeric()) {
            SetNumber(NumericField(f, input), input, r);
        } else {
            TextField(f, input)->SetValueText(QString::fromStdString(r.*input.text));
        }
    }
}

void ResetScenario(const ScenarioFields& f) {
    for (const ScenarioInput& input : kScenarioInputs) {
        if (input.IsNumeric()) {
            TScenarioRec fresh;
            if (input.kind == InputKind::Integer) {
                fresh.*input.integer = static_cast<std::int32_t>(input.newValue);
            } else {
                fresh.*input.real = input.newValue;
            }
            SetNumber(NumericField(f, input), input, fresh);
        } else if (!input.keptByNew) {
            TextField(f, input)->SetValueText({});
        }
    }
}

}  // namespace velmora
