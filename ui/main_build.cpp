// Building the main window: its controls at their places, in their colours and order.
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/accessiblenames.h"
#include "ui/glyphs.h"
#include "ui/main.h"
#include "ui/menupainter.h"
#include "ui/notebook.h"
#include "ui/panels.h"
#include "ui/planner/plannerpage.h"
#include "ui/resultsview.h"

namespace velmora {

namespace {
const QColor kPanelColour(217, 232, 240);
const QColor kButtonPanelColour(0, 191, 191);
const QColor kPillFill(64, 173, 225);
const QColor kPillOutline(28, 130, 179);
const QColor kBarFill(27, 122, 169);

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 434;
constexpr int kOuterWidth = 800;
constexpr int kOuterHeight = 480;
constexpr int kToolBarHeight = 29;
constexpr int kButtonPanelHeight = 49;
// The input page at the window's start size.
const QSize kInputPageSize(792, 356);

// Where Arial itself is not installed, fontconfig draws it with its metric twin Liberation
// Sans. Naming the twin then spares Qt, for each of the window's fonts, the alias's
// substitution and a search of every font for fall-backs; the face drawn is the same.
const QString& WindowFontFamily() {
    static const QString family = [] {
        const QString arial = QStringLiteral("Arial");
        const QString twin = QStringLiteral("Liberation Sans");
        const QStringList installed = QFontDatabase::families();
        if (!installed.contains(arial, Qt::CaseInsensitive) &&
            installed.contains(twin, Qt::CaseInsensitive))
            return twin;
        return arial;
    }();
    return family;
}

QFont ArialPixels(int pixels, bool bold = false) {
    QFont font(WindowFontFamily());
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A one-line caption's size, as QLabel would give it, from one measurement of the text:
// its own size hint lays the text out three times.
QSize CaptionSize(const QLabel& label) {
    return label.fontMetrics()
        .boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft, label.text())
        .size();
}

struct CaptionPill {
    const char* shape;
    QRect box;
    const char* label;
    QPoint labelAt;
    const char* text;
};

// Caption pills of the input page and the labels on them, in panel coordinates.
const CaptionPill kPills[] = {
    {"Shape2", {12, 16, 72, 19}, "Label12", {20, 18}, "Client Name"},
    {"Shape4", {12, 48, 72, 19}, "Label13", {20, 50}, "Description"},
    {"Shape13", {12, 80, 72, 19}, "Label10", {20, 82}, "Preparer"},
    {"Shape1", {12, 116, 72, 19}, "Label1", {34, 118}, "COLA"},
    {"Shape3", {12, 149, 85, 19}, "Label2", {21, 151}, "Discount Rate"},
    {"Shape5", {12, 180, 101, 41}, "Label4", {19, 183}, "Number of Years to Calculate"},
    {"Shape10", {452, 116, 72, 19}, "Label7", {474, 118}, "Month"},
    {"Shape11", {536, 116, 72, 19}, "Label8", {558, 118}, "Year"},
    {"Shape12", {620, 116, 97, 19}, "Label9", {631, 118}, "Monthly Benefit"},
    {"Shape7", {286, 149, 145, 19}, "Label3", {300, 151}, "Early Date of Retirement"},
    {"Shape8", {286, 175, 145, 19}, "Label5", {300, 177}, "Later Date of Retirement"},
    {"Shape9", {286, 201, 145, 19}, "Label6", {302, 203}, "Age at Early Retirement"},
};
// The one label that wraps has a fixed box.
const QSize kWrappedLabelSize(86, 35);

QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption, int helpContext) {
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(QString::fromLatin1(name));
    item->setProperty("helpContext", helpContext);
    return item;
}
}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setFont(ArialPixels(11));
    errorReporter_ = [](QWidget* owner, const QString& text) { ShowErrorBox(owner, text); };

    auto* client = new FacePanel(this);
    client->setObjectName(QStringLiteral("client"));
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Nothing is cut off: the window is not made smaller than its start size, except on a
    // screen too small for it, where the controls scroll instead.
    client->setMinimumSize(kClientWidth, kClientHeight);
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("clientScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    scroller->setWidget(client);
    setCentralWidget(scroller);

    BuildMenu();
    BuildToolBar(client);
    BuildNotebook(client);
    BuildButtonPanel(client);
    layout->addWidget(ToolBar1);
    layout->addWidget(OvcNotebook1, 1);
    layout->addWidget(Panel3);

    resultTable_ = std::make_unique<TResultTable>();
    grdSS->ShowCells(resultTable_->cells);
    WireCommands();
    WirePlanner();
    SetTabOrder();
    BuildMenuPainter();
    FormCreate();
    PlaceAtStart();
    WireUnsavedChanges();
    KeepFocusMarked();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildMenu() {
    // The menu bar is part of the window's face, drawn by its own painter at a fixed place;
    // a desktop's global menu would take it out of the window. (Asking the desktop for one
    // also cost a session-bus connection at every start.)
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->menuAction()->setProperty("helpContext", kHelpContextFile);
    New1 = AddMenuItem(File1, "New1", "&New", kHelpContextFile);
    Open1 = AddMenuItem(File1, "Open1", "&Open", kHelpContextFile);
    Save1 = AddMenuItem(File1, "Save1", "&Save", kHelpContextFile);
    SaveAs1 = AddMenuItem(File1, "SaveAs1", "Save &As\u2026", kHelpContextFile);
    File1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Print1 = AddMenuItem(File1, "Print1", "&Print", kHelpContextFile);
    // "Set&up", so that the menu's "S" stays Save's.
    PrinterSetup1 = AddMenuItem(File1, "PrinterSetup1", "Printer Set&up\u2026", kHelpContextFile);
    File1->addSeparator()->setObjectName(QStringLiteral("N3"));
    Exit1 = AddMenuItem(File1, "Exit1", "E&xit", kHelpContextFile);
    HelpMenu = bar->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    Help1 = HelpMenu->menuAction();
    Help1->setObjectName(QStringLiteral("Help1"));
    Help1->setProperty("helpContext", kHelpContextHelp);
    // F1 stays the window's own key (context help); the menu only names it.
    HelpContents1 = AddMenuItem(HelpMenu, "HelpContents1", "&Contents\tF1", kHelpContextHelp);
    About1 = AddMenuItem(HelpMenu, "About1", "&About Velmora Analysis", kHelpContextHelp);
    File1->installEventFilter(this);
    HelpMenu->installEventFilter(this);
}

void TfrmMain::BuildToolBar(QWidget* parent) {
    auto* strip = new ToolBarStrip(parent);
    strip->setObjectName(QStringLiteral("ToolBar1"));
    strip->setFixedHeight(kToolBarHeight);
    ToolBar1 = strip;
    struct ButtonLayout {
        QToolButton** button;
        const char* name;
        int left;
        const char* image;
        const char* tip;
    };
    const ButtonLayout buttons[] = {
        {&tbNew, "tbNew", 0, "new", "Start a new calculation."},
        {&tbOpen, "tbOpen", 23, "open", "Open a previously saved calculation."},
        {&tbSave, "tbSave", 46, "save", "Save the current calculation to disk."},
        {&tbPrint, "tbPrint", 77, "print", "Display or Print current calculation."},
    };
    for (const ButtonLayout& entry : buttons) {
        auto* button = new QToolButton(strip);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setGeometry(entry.left, ToolBarStrip::kButtonTop, 23, 22);
        button->setIcon(GlyphIcon(QString::fromLatin1(entry.image), 16));
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(QString::fromLatin1(entry.tip));
        *entry.button = button;
    }
    auto* separator = new QFrame(strip);
    separator->setObjectName(QStringLiteral("ToolButton4"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(69, ToolBarStrip::kButtonTop, 8, 22);
}

void TfrmMain::BuildNotebook(QWidget* parent) {
    OvcNotebook1 = new Notebook(parent);
    OvcNotebook1->setObjectName(QStringLiteral("OvcNotebook1"));
    OvcNotebook1->SetCurrentTabFont(ArialPixels(13, true), Qt::red);
    OvcNotebook1->mayChangePage = [this] { return !entrySettings_.errorPending; };
    Panel1 = new BevelPanel(kPanelColour, OvcNotebook1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel2 = new BevelPanel(kPanelColour, OvcNotebook1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    OvcNotebook1->AddPage(Panel1, QStringLiteral("Data Input"));
    OvcNotebook1->AddPage(Panel2, QStringLiteral("Table of Results"));
    BuildInputPage();
    BuildResultsPage();
    BuildPlannerPage();
}

void TfrmMain::BuildInputPage() {
    for (const CaptionPill& pill : kPills) {
        auto* shape =
            new ShapeWidget(ShapeWidget::Kind::RoundRect, kPillFill, kPillOutline, Panel1);
        shape->setObjectName(QString::fromLatin1(pill.shape));
        shape->setGeometry(pill.box);
    }
    for (const CaptionPill& pill : kPills) {
        auto* label = new QLabel(QString::fromLatin1(pill.text), Panel1);
        label->setObjectName(QString::fromLatin1(pill.label));
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->move(pill.labelAt);
        if (QLatin1String(pill.label) == QLatin1String("Label4")) {
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->resize(kWrappedLabelSize);
        } else {
            label->resize(CaptionSize(*label));
        }
    }
    auto* bar = new ShapeWidget(ShapeWidget::Kind::Rectangle, kBarFill, kPillFill, Panel1);
    bar->setObjectName(QStringLiteral("Shape6"));
    bar->setGeometry(13, 105, 720, 4);

    fields_ = CreateScenarioFields(entrySettings_, Panel1);
    NameEntryFields(fields_);
    // The fields come named and in Tab order; here they get their places.
    struct FieldPlace {
        TEntryField* field;
        QRect box;
    };
    const FieldPlace places[] = {
        {fields_.oClientName, {116, 15, 617, 20}},   {fields_.oDescription, {116, 47, 617, 20}},
        {fields_.oPreparer, {116, 79, 617, 20}},     {fields_.oCola, {116, 115, 120, 20}},
        {fields_.oRate, {116, 148, 120, 20}},        {fields_.oYears, {116, 190, 61, 20}},
        {fields_.oEarlyMonth, {452, 148, 72, 20}},   {fields_.oEarlyYear, {536, 148, 72, 20}},
        {fields_.oEarlyBenefit, {620, 148, 98, 20}}, {fields_.oLaterMonth, {452, 174, 72, 20}},
        {fields_.oLaterYear, {536, 174, 72, 20}},    {fields_.oLaterBenefit, {620, 174, 98, 20}},
        {fields_.oAge, {452, 200, 72, 20}},
    };
    for (const FieldPlace& place : places)
        place.field->setGeometry(place.box);

    lblResult = new QLabel(Panel1);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setFont(ArialPixels(16, true));
    QPalette blue = lblResult->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    lblResult->setPalette(blue);
    lblResult->setForegroundRole(QPalette::WindowText);
    lblResult->move(16, 248);
    lblResult->hide();
    for (QWidget* control : Panel1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        inputPlaces_.emplace_back(control, control->pos());
    Panel1->installEventFilter(this);
}

void TfrmMain::BuildResultsPage() {
    grdSS = new ResultsView(Panel2);
    grdSS->setObjectName(QStringLiteral("grdSS"));
    auto* layout = new QVBoxLayout(Panel2);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grdSS);
    grdSS->SetAlignmentCallback(&TfrmMain::grdSSGetAlignment);
}

void TfrmMain::BuildButtonPanel(QWidget* parent) {
    Panel3 = new BevelPanel(kButtonPanelColour, parent);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(kButtonPanelHeight);
    struct ButtonLayout {
        QPushButton** button;
        const char* name;
        int left;
        const char* caption;
        const char* glyph;
        int glyphSize;
    };
    const ButtonLayout buttons[] = {
        {&btnCalculate, "btnCalculate", 20, "C&alculate", "calculator", 16},
        {&btnClear, "btnClear", 362, "C&lear", "clear", 18},
        {&btnExit, "btnExit", 704, "E&xit", "exit", 18},
    };
    for (const ButtonLayout& entry : buttons) {
        auto* button = new QPushButton(Panel3);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setText(QString::fromLatin1(entry.caption));
        // The window owns the Alt keys: a button's own mnemonic would take the focus and
        // so run the rules of the field being left.
        button->setShortcut(QKeySequence());
        button->setIcon(GlyphIcon(QString::fromLatin1(entry.glyph), entry.glyphSize));
        button->setIconSize(QSize(entry.glyphSize, entry.glyphSize));
        button->setAutoDefault(true);
        button->setGeometry(entry.left, 12, 75, 25);
        *entry.button = button;
    }
}

void TfrmMain::BuildMenuPainter() {
    // Made last, so that it outlives every control that draws with it.
    menuStyle_ = new MenuPainterStyle(DesktopMenuColours());
    menuStyle_->setParent(this);
    const QFont menuFont = MenuFontFor(QApplication::font("QMenu"));
    // The font first: the bar measures its items on each change, and the desktop's bar font
    // it has until then would be loaded only for that.
    menuBar()->setFont(menuFont);
    menuBar()->setStyle(menuStyle_);
    for (QMenu* menu : {File1, HelpMenu}) {
        menu->setFont(menuFont);
        menu->setStyle(menuStyle_);
    }
    for (QToolButton* button : {tbNew, tbOpen, tbSave, tbPrint})
        button->setStyle(menuStyle_);
}

void TfrmMain::SetTabOrder() {
    // The buttons first, then the fields, whose own order CreateScenarioFields set.
    setTabOrder(btnCalculate, btnClear);
    setTabOrder(btnClear, btnExit);
    setTabOrder(btnExit, TabOrder(fields_).front());
    // The focus starts where typing begins, so that a key typed at once goes to a field.
    fields_.oClientName->setFocus();
}

void TfrmMain::FormCreate() {
    // Year, months and age narrow; the money columns wider.
    for (int c = 0; c < kResultColumns; ++c)
        grdSS->SetColumnWidth(c, c <= grdAge ? 50 : 75);
}

QRect TfrmMain::StartGeometry(const QRect& available, const QSize& client, const QSize& frame) {
    // Centred on the screen's free area, and made smaller where the screen is too small,
    // so that the whole window, frame and all, is on the screen.
    const QSize fits = (available.size() - frame).expandedTo(QSize(1, 1));
    const QSize size = client.boundedTo(fits);
    const QSize outer = size + frame;
    return {available.x() + std::max(0, (available.width() - outer.width()) / 2),
            available.y() + std::max(0, (available.height() - outer.height()) / 2), size.width(),
            size.height()};
}

void TfrmMain::PlaceAtStart() {
    const QSize client(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    // The frame the desktop adds, as the start sizes give it, until the window is shown.
    const QSize frame = QSize(kOuterWidth, kOuterHeight) - QSize(kClientWidth, client.height());
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        resize(client);
        setMinimumSize(client);
        return;
    }
    const QRect place = StartGeometry(screen->availableGeometry(), client, frame);
    setMinimumSize(place.size());
    resize(place.size());
    move(place.topLeft());
}

void TfrmMain::CentreInputPage() {
    // The fields keep their places at the start size; on a larger page (maximised) they
    // stand centred together.
    const QSize extra = Panel1->size() - kInputPageSize;
    const QPoint offset(std::max(0, extra.width() / 2), std::max(0, extra.height() / 2));
    for (const auto& [control, place] : inputPlaces_)
        control->move(place + offset);
}

}  // namespace velmora
