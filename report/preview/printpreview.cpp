#include "report/preview/printpreview.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "report/preview/printdialog.h"
#include "report/preview/printpages.h"
#include "report/reportoutput.h"

namespace velmora {

PrintServices PrintServices::System() {
    PrintServices s;
    s.printersInstalled = [] { return !QPrinterInfo::availablePrinters().isEmpty(); };
    s.warn = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QString(), text);
    };
    s.choosePrinter = [warn = s.warn, installed = s.printersInstalled](
                          QPrinter& printer, int currentPage, int pageCount, QWidget* parent) {
        Q_UNUSED(currentPage);
        ReportPrintDialog dialog(&printer, pageCount, installed(), warn, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    return s;
}

namespace {

// The banded report as a preview document; the pages it produces are kept for the
// dialog's ProducedPages.
class BandReportDocument final : public PreviewDocument {
  public:
    BandReportDocument(BandReport& report, std::vector<ReportPage>& produced)
        : report_(report), produced_(produced) {}
    void SetUpPrinter(QPrinter& printer) override {
        velmora::SetUpPrinter(printer, report_.Layout());
    }
    QString DocumentName() const override {
        return QString::fromStdString(report_.Layout().documentName);
    }
    int CountPages() override { return report_.CountPages(); }
    int PageCount() const override { return report_.PageCount(); }
    void PaintPage(QPainter& painter, QPagedPaintDevice& device, int index) override {
        const std::vector<ReportPage> page = RenderReportPages(report_, painter, device, {index});
        produced_.insert(produced_.end(), page.begin(), page.end());
    }

  private:
    BandReport& report_;
    std::vector<ReportPage>& produced_;
};

}  // namespace

void RenderDocumentPages(PreviewDocument& document, QPainter& painter, QPagedPaintDevice& device,
                         const std::vector<int>& pages,
                         const std::function<bool(int position, int page)>& beforePage) {
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const int position = static_cast<int>(i);
        if (beforePage && !beforePage(position, pages[i]))
            break;
        if (i > 0 && !device.newPage())
            throw std::runtime_error("The printer could not start a new page.");
        document.PaintPage(painter, device, pages[i]);
    }
}

PrintPreviewDialog::PrintPreviewDialog(BandReport& report, PrintServices services, QWidget* parent)
    : PrintPreviewDialog(*new BandReportDocument(report, produced_), std::move(services), parent) {
    ownDocument_.reset(&document_);
}

PrintPreviewDialog::PrintPreviewDialog(PreviewDocument& document, PrintServices services,
                                       QWidget* parent)
    : QDialog(parent),
      document_(document),
      services_(std::move(services)),
      previewPrinter_(QPrinter::HighResolution),
      printPrinter_(QPrinter::HighResolution) {
    setWindowTitle(QStringLiteral("Print Preview"));
    setModal(true);
    setSizeGripEnabled(true);
    document_.SetUpPrinter(previewPrinter_);
    document_.SetUpPrinter(printPrinter_);

    preview_ = new QPrintPreviewWidget(&previewPrinter_, this);
    preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &PrintPreviewDialog::Produce);
    connect(preview_, &QPrintPreviewWidget::previewChanged, this,
            &PrintPreviewDialog::UpdateControls);

    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildToolBar());
    layout->addWidget(preview_, 1);
    layout->addWidget(status_);
    resize(900, 640);
}

PrintPreviewDialog::~PrintPreviewDialog() = default;

namespace {

QAction* AddButton(QToolBar* bar, const QString& hint, const QIcon& icon) {
    QAction* action = bar->addAction(icon, hint);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return action;
}

// Desktop icons where the theme has them; without one the button shows its hint as text.
QIcon ThemeIcon(const char* name) {
    return QIcon::fromTheme(QLatin1String(name));
}

}  // namespace

QToolBar* PrintPreviewDialog::BuildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    QStyle* st = style();

    print_ = AddButton(bar, QStringLiteral("Print"), ThemeIcon("document-print"));
    connect(print_, &QAction::triggered, this, &PrintPreviewDialog::Print);
    bar->addSeparator();

    zoomGroup_ = new QActionGroup(this);
    zoomGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    wholePage_ = AddButton(bar, QStringLiteral("Whole Page"), ThemeIcon("zoom-fit-best"));
    pageWidth_ = AddButton(bar, QStringLiteral("Page Width"), ThemeIcon("zoom-fit-width"));
    actualSize_ = AddButton(bar, QStringLiteral("100 %"), ThemeIcon("zoom-original"));
    for (QAction* a : {wholePage_, pageWidth_, actualSize_}) {
        a->setCheckable(true);
        zoomGroup_->addAction(a);
    }
    connect(wholePage_, &QAction::triggered, this, [this] {
        wholePage_->setChecked(true);
        preview_->fitInView();
    });
    connect(pageWidth_, &QAction::triggered, this, [this] {
        pageWidth_->setChecked(true);
        preview_->fitToWidth();
    });
    connect(actualSize_, &QAction::triggered, this, &PrintPreviewDialog::ShowActualSize);

    zoomBox_ = new QLineEdit(bar);
    zoomBox_->setMaxLength(3);
    zoomBox_->setFixedWidth(zoomBox_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    zoomBox_->setAlignment(Qt::AlignRight);
    bar->addWidget(zoomBox_);
    bar->addWidget(new QLabel(QStringLiteral(" % "), bar));
    connect(zoomBox_, &QLineEdit::returnPressed, this, &PrintPreviewDialog::ApplyZoomBox);
    bar->addSeparator();

    firstPage_ = AddButton(bar, QStringLiteral("First Page"),
                           st->standardIcon(QStyle::SP_MediaSkipBackward));
    priorPage_ = AddButton(bar, QStringLiteral("Prior Page"),
                           st->standardIcon(QStyle::SP_MediaSeekBackward));
    pageBox_ = new QLineEdit(bar);
    pageBox_->setMaxLength(5);
    pageBox_->setFixedWidth(pageBox_->fontMetrics().horizontalAdvance(QStringLiteral("000000")) +
                            12);
    pageBox_->setAlignment(Qt::AlignRight);
    bar->addWidget(pageBox_);
    nextPage_ =
        AddButton(bar, QStringLiteral("Next Page"), st->standardIcon(QStyle::SP_MediaSeekForward));
    lastPage_ =
        AddButton(bar, QStringLiteral("Last Page"), st->standardIcon(QStyle::SP_MediaSkipForward));
    connect(firstPage_, &QAction::triggered, this, [this] { GoToPage(1); });
    connect(priorPage_, &QAction::triggered, this, [this] { GoToPage(CurrentPage() - 1); });
    connect(nextPage_, &QAction::triggered, this, [this] { GoToPage(CurrentPage() + 1); });
    connect(lastPage_, &QAction::triggered, this, [this] { GoToPage(PageCount()); });
    connect(pageBox_, &QLineEdit::returnPressed, this, &PrintPreviewDialog::ApplyPageBox);
    bar->addSeparator();

    close_ = new QPushButton(QStringLiteral("Close"), bar);
    close_->setAutoDefault(false);
    bar->addWidget(close_);
    connect(close_, &QPushButton::clicked, this, &PrintPreviewDialog::CloseOrCancel);
    return bar;
}

void PrintPreviewDialog::ShowActualSize() {
    actualSize_->setChecked(true);
    preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview_->setZoomFactor(1.0);
    UpdateControls();
}

void PrintPreviewDialog::ReleaseZoomButtons() {
    for (QAction* a : {wholePage_, pageWidth_, actualSize_})
        a->setChecked(false);
}

// A typed zoom is the user's own: none of the three zoom buttons stays down. Anything
// but a positive whole number counts as 100.
void PrintPreviewDialog::ApplyZoomBox() {
    bool ok = false;
    int percent = zoomBox_->text().trimmed().toInt(&ok);
    if (!ok || percent <= 0)
        percent = 100;
    ReleaseZoomButtons();
    preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview_->setZoomFactor(percent / 100.0);
    UpdateControls();
}

void PrintPreviewDialog::ApplyPageBox() {
    bool ok = false;
    const int page = pageBox_->text().trimmed().toInt(&ok);
    if (ok)
        GoToPage(page);
    UpdateControls();
}

void PrintPreviewDialog::GoToPage(int page) {
    if (PageCount() < 1)
        return;
    preview_->setCurrentPage(std::clamp(page, 1, PageCount()));
    UpdateControls();
}

int PrintPreviewDialog::CurrentPage() const {
    return preview_->currentPage();
}
int PrintPreviewDialog::PageCount() const {
    return preview_->pageCount();
}

void PrintPreviewDialog::UpdateControls() {
    const int current = CurrentPage();
    const int count = PageCount();
    if (!zoomBox_->hasFocus())
        zoomBox_->setText(
            QString::number(static_cast<int>(std::lround(preview_->zoomFactor() * 100))));
    if (!pageBox_->hasFocus())
        pageBox_->setText(QString::number(current));
    firstPage_->setEnabled(current > 1);
    priorPage_->setEnabled(current > 1);
    nextPage_->setEnabled(current < count);
    lastPage_->setEnabled(current < count);
    if (!producing_ && count > 0)
        status_->showMessage(QStringLiteral("Page %1 of %2").arg(current).arg(count));
}

void PrintPreviewDialog::CloseOrCancel() {
    if (producing_) {
        cancelRequested_ = true;
        return;
    }
    reject();
}

void PrintPreviewDialog::Fail(std::exception_ptr failure) {
    failure_ = std::move(failure);
    // May come while the dialog is being shown: close it once the event loop runs.
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void PrintPreviewDialog::Produce(QPrinter* printer) {
    produced_.clear();
    if (failure_)
        return;
    producing_ = true;
    cancelRequested_ = false;
    close_->setText(QStringLiteral("Cancel"));
    try {
        const int count = document_.CountPages();
        std::vector<int> pages(static_cast<std::size_t>(count));
        std::iota(pages.begin(), pages.end(), 0);
        QPainter painter;
        if (!painter.begin(printer))
            throw std::runtime_error("The preview could not be started.");
        RenderDocumentPages(document_, painter, *printer, pages, [this, count](int, int page) {
            status_->showMessage(
                QStringLiteral("Generating page %1 of %2").arg(page + 1).arg(count));
            return !cancelRequested_;
        });
        painter.end();
    } catch (...) {
        Fail(std::current_exception());
    }
    producing_ = false;
    close_->setText(QStringLiteral("Close"));
    // The preview shows its pages once this returns; open on the first.
    QMetaObject::invokeMethod(
        this, [this] { GoToPage(1); }, Qt::QueuedConnection);
}

void PrintPreviewDialog::Print() {
    if (!services_.choosePrinter)
        return;
    if (!services_.choosePrinter(printPrinter_, CurrentPage(), PageCount(), this))
        return;
    try {
        PrintTo(printPrinter_);
    } catch (...) {
        Fail(std::current_exception());
    }
}

void PrintPreviewDialog::PrintTo(QPrinter& printer) {
    printer.setDocName(document_.DocumentName());
    const int count = document_.PageCount();
    const std::vector<int> chosen =
        PagesToPrint(printer.printRange(), printer.pageRanges(), CurrentPage(), count);
    // Where the printer cannot make the copies itself, the program sends them.
    const std::vector<int> sequence =
        printer.supportsMultipleCopies()
            ? chosen
            : PrintSequence(chosen, printer.copyCount(), printer.collateCopies());
    if (sequence.empty())
        return;
    std::vector<int> indices;
    for (int page : sequence)
        indices.push_back(page - 1);

    QProgressDialog progress(this);
    progress.setWindowTitle(QStringLiteral("Printing"));
    progress.setCancelButtonText(QStringLiteral("Cancel"));
    progress.setRange(0, static_cast<int>(indices.size()));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);

    // ProducedPages keeps the pages the preview shows, not the ones sent to the printer.
    const std::vector<ReportPage> shown = produced_;
    struct KeepShown {
        std::vector<ReportPage>& produced;
        const std::vector<ReportPage>& shown;
        ~KeepShown() { produced = shown; }
    } keepShown{produced_, shown};
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("The printer did not accept the job.");
    RenderDocumentPages(document_, painter, printer, indices, [&](int position, int page) {
        progress.setLabelText(QStringLiteral("Printing page %1 of %2").arg(page + 1).arg(count));
        progress.setValue(position);
        if (!progress.wasCanceled())
            return true;
        printer.abort();
        return false;
    });
    painter.end();
    progress.setValue(progress.maximum());
    if (printer.printerState() == QPrinter::Error)
        throw std::runtime_error("The printer reported an error.");
}

void rptSSPreviewFormCreate(PrintPreviewDialog& preview) {
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.ShowActualSize();
}

}  // namespace velmora
