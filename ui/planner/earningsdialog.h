#pragma once

// "From earnings": the benefit at full retirement age computed from the client's
// earnings record. The record is pasted (an SSA statement's earnings table or CSV lines)
// or opened from a file; future earnings are set; the year table and the PIA show as
// `velmora-cli pia` prints them; "Use" hands the PIA and the record to the caller.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <optional>

#include "fields/entrysettings.h"
#include "fields/numericentryfield.h"
#include "planner/dates.h"
#include "planner/earnings.h"
#include "planner/pia.h"

namespace velmora {

class EarningsDialog : public QDialog {
    Q_OBJECT
  public:
    struct Setup {
        std::optional<planner::Date> born;
        std::optional<planner::Date> asOf;
        /// The plan's COLA in percent, for the COLAs not yet published.
        double colaPercent = 0;
        /// The record kept with the scenario, shown again.
        planner::EarningsRecord record;
    };
    EarningsDialog(const Setup& setup, EntrySettings& settings, QWidget* parent = nullptr);

    /// Reads the record and the future earnings and computes; shows the year table and
    /// the PIA, or why there is none. Runs by itself when the text, a field or the box
    /// changes.
    void Recompute();
    /// The PIA in whole cents of the as-of year when the client has one.
    std::optional<std::int64_t> PiaCents() const;
    /// The record as read from the text (empty while the text cannot be read).
    const planner::EarningsRecord& Record() const { return record_; }
    const std::optional<planner::PiaComputation>& Computation() const { return pia_; }

    /// Asks for the file to open; tests answer without a dialog. Empty: QFileDialog.
    void SetFileChooser(std::function<std::optional<QString>()> chooser) {
        chooser_ = std::move(chooser);
    }
    /// Reads a record file into the text; gives the failure, or an empty text.
    QString OpenRecordFile(const QString& path);

    QPlainTextEdit* txtRecord = nullptr;
    QPushButton* btnOpen = nullptr;
    QCheckBox* chkFuture = nullptr;
    TNumericEntryField* oFutureEarnings = nullptr;
    TNumericEntryField* oUntilAge = nullptr;
    TNumericEntryField* oWageGrowth = nullptr;
    QTableWidget* grdYears = nullptr;
    QLabel* lblPia = nullptr;
    QLabel* lblNotes = nullptr;
    QPushButton* btnUse = nullptr;
    QPushButton* btnCancel = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ChooseFile();
    void ShowYears();

    Setup setup_;
    std::function<std::optional<QString>()> chooser_;
    planner::EarningsRecord record_;
    std::optional<planner::PiaComputation> pia_;
};

}  // namespace velmora
