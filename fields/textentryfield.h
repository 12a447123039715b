#pragma once

#include "fields/entryfield.h"
#include "fields/textfieldeditor.h"

namespace velmora {

/// An entry field for one of the scenario's texts.
class TTextEntryField final : public TEntryField {
    Q_OBJECT
  public:
    explicit TTextEntryField(EntrySettings& settings, QWidget* parent = nullptr,
                             int maxLength = 100);
    /// The text; while the field has the focus, blanks at both ends are removed first.
    QString ValueAsText() override;
    /// The first MaxLength characters of text, ended by a NUL; nothing trimmed.
    void SetValueText(const QString& text) override;
    const TextFieldModel& Model() const { return editor_.model; }

  protected:
    View CurrentView() const override;
    FieldEditor& Editor() override { return editor_; }
    const FieldEditor& Editor() const override { return editor_; }
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    TextFieldEditor editor_;
};

}  // namespace velmora
