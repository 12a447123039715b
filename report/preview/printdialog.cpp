#include "report/preview/printdialog.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPrinter>

namespace velmora {

ReportPrintDialog::ReportPrintDialog(QPrinter* printer, int pageCount, bool printersInstalled,
                                     WarnFn warn, QWidget* parent)
    : QPrintDialog(printer, parent), printersInstalled_(printersInstalled), warn_(std::move(warn)) {
    setWindowTitle(QStringLiteral("Print"));
    setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies |
               QAbstractPrintDialog::PrintCurrentPage | QAbstractPrintDialog::PrintToFile);
    setMinMax(1, std::max(1, pageCount));
    setFromTo(1, std::max(1, pageCount));
    setPrintRange(QAbstractPrintDialog::AllPages);
    if (printersInstalled_)
        return;

    noPrinters_ = new QLabel(kNoPrintersText, this);
    noPrinters_->setObjectName(QStringLiteral("noPrinters"));
    noPrinters_->setWordWrap(true);
    // In place of the printer list where the platform's dialog has one; else on top.
    for (auto* list : findChildren<QComboBox*>(QStringLiteral("printers"))) {
        if (QWidget* holder = list->parentWidget(); holder && holder->layout()) {
            if (holder->layout()->replaceWidget(list, noPrinters_) != nullptr) {
                list->hide();
                return;
            }
        }
    }
    if (auto* box = qobject_cast<QBoxLayout*>(layout())) {
        box->insertWidget(0, noPrinters_);
    } else {
        noPrinters_->move(8, 8);
    }
}

bool ReportPrintDialog::RefuseWithoutPrinter() {
    if (printersInstalled_)
        return false;
    if (warn_)
        warn_(this, kNoPrintersText);
    return true;
}

void ReportPrintDialog::accept() {
    if (RefuseWithoutPrinter())
        return;
    QPrintDialog::accept();
}

void ReportPrintDialog::done(int result) {
    if (result == QDialog::Accepted && RefuseWithoutPrinter())
        return;
    QPrintDialog::done(result);
}

}  // namespace velmora
