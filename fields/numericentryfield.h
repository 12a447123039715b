#pragma once

#include <cstdint>

#include "fields/entryfield.h"
#include "fields/maskedfieldeditor.h"

namespace velmora {

/// An entry field for one of the scenario's numbers, under its input's mask and bounds.
class TNumericEntryField final : public TEntryField {
    Q_OBJECT
  public:
    /// A field for one of the scenario's numeric inputs: its kind, mask and bounds.
    TNumericEntryField(const ScenarioInput& input, EntrySettings& settings,
                       QWidget* parent = nullptr);
    /// What the field draws now: the shown text, or the mask's unfit marks when the
    /// number is too wide for the field.
    QString DisplayedText() const { return QString::fromStdU32String(CurrentView().text); }
    QString ValueAsText() override;
    /// 0 when the text breaks the field's rules, without any message; with the focus, a
    /// number that stands is shown again in its full format.
    long double ValueAsExtended() override;
    double ValueAsDouble() override;
    std::int32_t ValueAsInteger() override;
    void SetValueExtended(long double value) override;
    void SetValueInteger(std::int32_t value) override;
    const NumericFieldModel& Model() const { return editor_.model; }

  protected:
    View CurrentView() const override;
    FieldEditor& Editor() override { return editor_; }
    const FieldEditor& Editor() const override { return editor_; }
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    NumericFieldEditor editor_;
};

}  // namespace velmora
