#pragma once

#include <optional>

#include "fields/entryfield.h"
#include "fields/maskedfieldeditor.h"

namespace velmora {

/// A date field over DateFieldModel: "MM/DD/YYYY", empty meaning no date. It has no
/// number getters; ValueAsText gives the shown date or an empty text.
class TDateEntryField final : public TEntryField {
    Q_OBJECT
  public:
    TDateEntryField(int lowYear, int highYear, EntrySettings& settings, QWidget* parent = nullptr);
    QString ValueAsText() override;
    /// Sets the date from "MM/DD/YYYY" (or empties it for an empty text), unchecked.
    void SetValueText(const QString& text) override;
    std::optional<FieldDate> Date() const { return editor_.model.Value(); }
    void SetDate(const std::optional<FieldDate>& date);
    const DateFieldModel& Model() const { return editor_.model; }

  protected:
    View CurrentView() const override;
    FieldEditor& Editor() override { return editor_; }
    const FieldEditor& Editor() const override { return editor_; }
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    DateFieldEditor editor_;
};

}  // namespace velmora
