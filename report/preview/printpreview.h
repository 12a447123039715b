#pragma once

#include <QDialog>
#include <QPrinter>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "report/bandreport.h"

class QAction;
class QActionGroup;
class QLineEdit;
class QPagedPaintDevice;
class QPainter;
class QPrintPreviewWidget;
class QPushButton;
class QStatusBar;
class QToolBar;

namespace velmora {

/// The outside world of printing, replaceable so that tests never block or need a printer.
struct PrintServices {
    std::function<bool()> printersInstalled;
    /// Shows the print dialog for printer; true when the user chose OK.
    std::function<bool(QPrinter& printer, int currentPage, int pageCount, QWidget* parent)>
        choosePrinter;
    std::function<void(QWidget* parent, const QString& text)> warn;

    /// The installed printers, the report's print dialog and a warning box.
    static PrintServices System();
};

/// What a print preview shows and prints: a paper, pages counted in a first pass and
/// painted one at a time. The banded report is one; a one-page summary is another.
class PreviewDocument {
  public:
    virtual ~PreviewDocument() = default;
    /// Paper, orientation and job name, with no device margins.
    virtual void SetUpPrinter(QPrinter& printer) = 0;
    virtual QString DocumentName() const = 0;
    /// First pass of a run; gives the page count.
    virtual int CountPages() = 0;
    virtual int PageCount() const = 0;
    /// Paints the page at index (0-based) of the last count on the painter's page.
    virtual void PaintPage(QPainter& painter, QPagedPaintDevice& device, int index) = 0;
};

/// Paints the listed pages (0-based) one per sheet; beforePage(position, page) may stop
/// the output by returning false.
void RenderDocumentPages(PreviewDocument& document, QPainter& painter, QPagedPaintDevice& device,
                         const std::vector<int>& pages,
                         const std::function<bool(int position, int page)>& beforePage = {});

/// The modal print preview of a report, "Print Preview": a tool bar with print, three
/// zoom buttons (one of them down, or none after a zoom typed in the zoom box), the
/// zoom box, first and prior page, the page box, next and last page, and a button
/// reading "Cancel" while pages are produced and "Close" otherwise; a status line
/// below. Each time the preview needs its pages it runs the report: the first pass to
/// count them, the second to produce them. A failure while producing pages ends the
/// run: the dialog closes and Failure() holds the error.
class PrintPreviewDialog final : public QDialog {
    Q_OBJECT
  public:
    PrintPreviewDialog(BandReport& report, PrintServices services, QWidget* parent = nullptr);
    /// The same preview over any document; ProducedPages stays empty.
    PrintPreviewDialog(PreviewDocument& document, PrintServices services,
                       QWidget* parent = nullptr);
    ~PrintPreviewDialog() override;

    QPrintPreviewWidget* Preview() const { return preview_; }
    QAction* PrintAction() const { return print_; }
    QAction* WholePageAction() const { return wholePage_; }
    QAction* PageWidthAction() const { return pageWidth_; }
    QAction* ActualSizeAction() const { return actualSize_; }
    QAction* FirstPageAction() const { return firstPage_; }
    QAction* PriorPageAction() const { return priorPage_; }
    QAction* NextPageAction() const { return nextPage_; }
    QAction* LastPageAction() const { return lastPage_; }
    QLineEdit* ZoomBox() const { return zoomBox_; }
    QLineEdit* PageBox() const { return pageBox_; }
    QPushButton* CloseButton() const { return close_; }
    QStatusBar* StatusLine() const { return status_; }

    /// Zoom to actual size, with the "100 %" button down.
    void ShowActualSize();
    void GoToPage(int page);
    int CurrentPage() const;
    int PageCount() const;
    /// The pages of the last run, as laid out and painted.
    const std::vector<ReportPage>& ProducedPages() const { return produced_; }
    std::exception_ptr Failure() const { return failure_; }

    /// The print button: the print dialog, then the chosen pages to the printer.
    void Print();

  private:
    QToolBar* BuildToolBar();
    void Produce(QPrinter* printer);
    void PrintTo(QPrinter& printer);
    void Fail(std::exception_ptr failure);
    void ApplyZoomBox();
    void ApplyPageBox();
    void ReleaseZoomButtons();
    void UpdateControls();
    void CloseOrCancel();

    std::unique_ptr<PreviewDocument> ownDocument_;  // the band report's adapter
    PreviewDocument& document_;
    PrintServices services_;
    QPrinter previewPrinter_;
    QPrinter printPrinter_;
    QPrintPreviewWidget* preview_ = nullptr;
    QActionGroup* zoomGroup_ = nullptr;
    QAction* print_ = nullptr;
    QAction* wholePage_ = nullptr;
    QAction* pageWidth_ = nullptr;
    QAction* actualSize_ = nullptr;
    QAction* firstPage_ = nullptr;
    QAction* priorPage_ = nullptr;
    QAction* nextPage_ = nullptr;
    QAction* lastPage_ = nullptr;
    QLineEdit* zoomBox_ = nullptr;
    QLineEdit* pageBox_ = nullptr;
    QPushButton* close_ = nullptr;
    QStatusBar* status_ = nullptr;
    std::vector<ReportPage> produced_;
    std::exception_ptr failure_;
    bool producing_ = false;
    bool cancelRequested_ = false;
};

/// The report's preview-creation handler: maximizes the preview, then zooms to 100 %.
void rptSSPreviewFormCreate(PrintPreviewDialog& preview);

}  // namespace velmora
