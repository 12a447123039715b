#pragma once

#include <QPrintDialog>
#include <QString>
#include <functional>

class QLabel;

namespace velmora {

/// The message shown in place of the printer list, and on OK, when no printer is installed.
inline const QString kNoPrintersText =
    QStringLiteral("There are no printers connected to your computer.");

/// The print dialog of the preview: printer, page range (all, the current page, or a
/// list such as 1,3,5-12), copies and collation. With no printer installed it says so
/// in place of the printer list, and OK shows the same text as a warning and keeps
/// the dialog open.
class ReportPrintDialog final : public QPrintDialog {
    Q_OBJECT
  public:
    using WarnFn = std::function<void(QWidget* parent, const QString& text)>;
    ReportPrintDialog(QPrinter* printer, int pageCount, bool printersInstalled, WarnFn warn,
                      QWidget* parent = nullptr);
    void accept() override;
    void done(int result) override;
    QLabel* NoPrintersLabel() const { return noPrinters_; }

  private:
    bool RefuseWithoutPrinter();

    bool printersInstalled_;
    WarnFn warn_;
    QLabel* noPrinters_ = nullptr;
};

}  // namespace velmora
