#include "report/rptss.h"

namespace velmora {

namespace {

constexpr auto L = TextAlign::Left;
constexpr auto C = TextAlign::Center;
constexpr auto R = TextAlign::Right;
constexpr auto kBlack = TextColor::Black;
constexpr auto kBlue = TextColor::Blue;
constexpr auto kWindowText = TextColor::WindowText;
constexpr bool kAuto = true;
constexpr bool kFixed = false;
constexpr bool kWrap = true;
constexpr bool kOneLine = false;

ElementFont Arial(int points, bool bold = false) {
    return ElementFont{"Arial", points, bold};
}

struct Box {
    int left, top, width, height;
};

ReportElement Text(const char* name, ElementKind kind, ElementFont font, TextColor color,
                   TextAlign align, bool autoSize, bool wordWrap, Box box) {
    ReportElement e;
    e.name = name;
    e.kind = kind;
    e.font = font;
    e.color = color;
    e.align = align;
    e.autoSize = autoSize;
    e.wordWrap = wordWrap;
    e.left = box.left;
    e.top = box.top;
    e.width = box.width;
    e.height = box.height;
    return e;
}

ReportElement Label(const char* name, const char* caption, ElementFont font, TextColor color,
                    TextAlign align, bool autoSize, bool wordWrap, Box box) {
    ReportElement e = Text(name, ElementKind::Label, font, color, align, autoSize, wordWrap, box);
    e.caption = caption;
    return e;
}

ReportElement Data(const char* name, const char* field, ElementFont font, TextColor color,
                   TextAlign align, bool autoSize, bool wordWrap, Box box,
                   const char* displayFormat = "") {
    ReportElement e =
        Text(name, ElementKind::DataText, font, color, align, autoSize, wordWrap, box);
    e.field = field;
    e.displayFormat = displayFormat;
    return e;
}

ReportElement Variable(const char* name, SystemVariableType variable, ElementFont font,
                       TextColor color, TextAlign align, bool autoSize, Box box) {
    ReportElement e =
        Text(name, ElementKind::SystemVariable, font, color, align, autoSize, kOneLine, box);
    e.variable = variable;
    return e;
}

ReportElement Graphic(const char* name, ElementKind kind, double penPoints, Box box) {
    ReportElement e;
    e.name = name;
    e.kind = kind;
    e.penPoints = penPoints;
    e.left = box.left;
    e.top = box.top;
    e.width = box.width;
    e.height = box.height;
    return e;
}

// The frame's pen is two screen pixels at 96 pixels per inch: 1/48 inch, 1.5 points.
constexpr double kFramePenPoints = 1.5;
constexpr const char* kPercent = "###.0000%";

ReportBand Header() {
    ReportBand b{"ppHeaderBand1", BandKind::Header, 83608, {}};
    auto& e = b.elements;
    e.push_back(Label("ppLabel13", "Velmora Report", Arial(12, true), kBlack, L, kAuto, kOneLine,
                      {98425, 2646, 69586, 5027}));
    e.push_back(
        Graphic("ppShape1", ElementKind::Shape, kFramePenPoints, {2646, 10054, 256382, 51858}));
    e.push_back(Data("ppDBText1", "ClientName", Arial(11), kBlack, L, kAuto, kWrap,
                     {28310, 14817, 225161, 4763}));
    e.push_back(Data("ppDBText2", "Description", Arial(11), kBlack, L, kAuto, kWrap,
                     {28310, 21431, 225955, 12700}));
    e.push_back(Label("ppLabel1", "Prepared For:", Arial(11), kBlack, L, kAuto, kOneLine,
                      {3704, 14817, 24045, 4657}));
    e.push_back(Label("ppLabel2", "Description:", Arial(11), kBlack, L, kAuto, kOneLine,
                      {3704, 21431, 20638, 4763}));
    e.push_back(Label("ppLabel7", "Month", Arial(10), kBlack, C, kAuto, kOneLine,
                      {187325, 36248, 9790, 4233}));
    e.push_back(Label("ppLabel8", "Year", Arial(10), kBlack, C, kAuto, kOneLine,
                      {207963, 36248, 7408, 4233}));
    e.push_back(Label("ppLabel9", "Monthly Benefit", Arial(10), kBlack, C, kAuto, kOneLine,
                      {226219, 36248, 24077, 4233}));
    e.push_back(Label("ppLabel4", "Cost of Living Adjustment", Arial(10), kWindowText, L, kAuto,
                      kWrap, {3440, 36248, 22225, 8467}));
    e.push_back(Data("ppDBText3", "Cola", Arial(10), kWindowText, L, kAuto, kOneLine,
                     {28840, 38365, 7144, 4233}, kPercent));
    e.push_back(Label("ppLabel5", "Discount Rate", Arial(10), kWindowText, L, kAuto, kOneLine,
                      {3440, 46567, 21960, 4233}));
    e.push_back(Data("ppDBText4", "Rate", Arial(10), kWindowText, L, kAuto, kOneLine,
                     {28840, 46567, 7408, 4233}, kPercent));
    e.push_back(Label("ppLabel6", "Number of Years To Calculate", Arial(10), kWindowText, L, kAuto,
                      kWrap, {51065, 36248, 26723, 8467}));
    e.push_back(Data("ppDBText5", "Years", Arial(10), kWindowText, L, kAuto, kOneLine,
                     {79640, 38365, 9260, 4233}));
    e.push_back(Label("ppLabel10", "Early Date of Retirement", Arial(10), kWindowText, L, kAuto,
                      kOneLine, {134409, 42863, 38365, 4233}));
    e.push_back(Data("ppDBText6", "EarlyMonth", Arial(10), kWindowText, C, kAuto, kOneLine,
                     {183357, 42863, 17727, 4233}));
    e.push_back(Data("ppDBText7", "EarlyYear", Arial(10), kWindowText, C, kFixed, kOneLine,
                     {203200, 42863, 17198, 4233}));
    e.push_back(Data("ppDBText8", "EarlyBenefit", Arial(10), kWindowText, C, kFixed, kOneLine,
                     {227278, 42863, 25665, 4233}));
    e.push_back(Label("ppLabel11", "Later Date of Retirement", Arial(10), kWindowText, L, kAuto,
                      kOneLine, {134409, 51594, 38365, 4233}));
    e.push_back(Data("ppDBText9", "LaterMonth", Arial(10), kWindowText, C, kFixed, kOneLine,
                     {186796, 51594, 10848, 4233}));
    e.push_back(Data("ppDBText10", "LaterYear", Arial(10), kWindowText, C, kFixed, kOneLine,
                     {202407, 51594, 18785, 4233}));
    e.push_back(Data("ppDBText11", "LaterBenefit", Arial(10), kWindowText, C, kFixed, kOneLine,
                     {226748, 51594, 26194, 4233}));
    e.push_back(Label("ppLabel12", "Age at Early Retirement", Arial(10), kWindowText, L, kAuto,
                      kWrap, {51065, 46567, 20108, 8467}));
    e.push_back(Data("ppDBText12", "Age", Arial(10), kWindowText, C, kFixed, kOneLine,
                     {79640, 48683, 10848, 4233}));
    e.push_back(Label("ppLabel3", "Table of Results", Arial(12, true), kBlack, C, kAuto, kOneLine,
                      {2910, 65352, 256911, 5027}));
    e.push_back(Label("ppLabel17", "Year", Arial(8), kWindowText, L, kAuto, kOneLine,
                      {2646, 79111, 6085, 3440}));
    e.push_back(Label("ppLabel18", "Months", Arial(8), kWindowText, C, kAuto, kOneLine,
                      {12700, 79111, 9313, 3387}));
    e.push_back(Label("ppLabel19", "Age", Arial(8), kWindowText, C, kFixed, kOneLine,
                      {24606, 79111, 9525, 3387}));
    e.push_back(Label("ppLabel20", "Monthly Benefit", Arial(8), kWindowText, R, kAuto, kWrap,
                      {35719, 79111, 19579, 3440}));
    e.push_back(Label("ppLabel21", "Annual Benefit", Arial(8), kWindowText, R, kAuto, kWrap,
                      {58208, 79111, 19050, 3440}));
    e.push_back(Label("ppLabel22", "Present Value", Arial(8), kWindowText, R, kFixed, kOneLine,
                      {80169, 79111, 21167, 3440}));
    e.push_back(Label("ppLabel23", "Early Retirement", Arial(8), kWindowText, C, kAuto, kOneLine,
                      {35719, 73025, 96573, 3440}));
    e.push_back(Label("ppLabel24", "Cumulative PV", Arial(8), kWindowText, R, kFixed, kOneLine,
                      {105304, 79111, 26988, 3440}));
    e.push_back(Label("ppLabel25", "Monthly Benefit", Arial(8), kWindowText, R, kFixed, kOneLine,
                      {136525, 79111, 24342, 3440}));
    e.push_back(Label("ppLabel26", "Annual Benefit", Arial(8), kWindowText, R, kFixed, kOneLine,
                      {164571, 79111, 19315, 3440}));
    e.push_back(Label("ppLabel27", "Present Value", Arial(8), kWindowText, R, kFixed, kOneLine,
                      {186532, 79111, 21431, 3440}));
    e.push_back(Label("ppLabel28", "Cumulative PV", Arial(8), kWindowText, R, kAuto, kOneLine,
                      {210609, 79111, 25135, 3440}));
    e.push_back(Label("ppLabel29", "PV Difference", Arial(8), kWindowText, R, kFixed, kOneLine,
                      {239448, 79111, 21696, 3440}));
    e.push_back(Label("ppLabel30", "Later Retirement", Arial(8), kWindowText, C, kAuto, kOneLine,
                      {136790, 73025, 99219, 3440}));
    e.push_back(Graphic("ppLine2", ElementKind::Line, 0.75, {136790, 76994, 99219, 1323}));
    e.push_back(Graphic("ppLine3", ElementKind::Line, 0.75, {35719, 76994, 96573, 1323}));
    return b;
}

ReportBand Detail() {
    ReportBand b{"ppDetailBand1", BandKind::Detail, 5556, {}};
    auto& e = b.elements;
    const ElementFont f = Arial(8);
    e.push_back(Data("ppDBText14", "grdYear", f, kWindowText, L, kAuto, kOneLine,
                     {2646, 529, 10054, 3440}));
    e.push_back(Data("ppDBText15", "grdMonths", f, kWindowText, C, kAuto, kOneLine,
                     {12700, 529, 9525, 3440}));
    e.push_back(Data("ppDBText16", "grdAge", f, kWindowText, C, kFixed, kOneLine,
                     {24606, 529, 8731, 3440}));
    e.push_back(Data("ppDBText17", "grdEarlyBenefit", f, kWindowText, R, kFixed, kOneLine,
                     {35719, 529, 19579, 3440}));
    e.push_back(Data("ppDBText18", "grdAnnualEarlyBenefit", f, kWindowText, R, kFixed, kOneLine,
                     {58208, 529, 19050, 3440}));
    e.push_back(Data("ppDBText19", "grdEarlyPv", f, kWindowText, R, kFixed, kOneLine,
                     {80169, 529, 21167, 3440}));
    e.push_back(Data("ppDBText20", "grdEarlyPvCumulative", f, kWindowText, R, kFixed, kOneLine,
                     {105304, 529, 26988, 3440}));
    e.push_back(Data("ppDBText21", "grdLaterBenefit", f, kWindowText, R, kFixed, kOneLine,
                     {136525, 529, 24342, 3440}));
    e.push_back(Data("ppDBText22", "grdAnnualLaterBenefit", f, kWindowText, R, kFixed, kOneLine,
                     {164571, 529, 19315, 3440}));
    e.push_back(Data("ppDBText23", "grdLaterPv", f, kWindowText, R, kFixed, kOneLine,
                     {186532, 529, 21431, 3440}));
    e.push_back(Data("ppDBText24", "grdLaterPvCumulative", f, kWindowText, R, kFixed, kOneLine,
                     {210609, 529, 25135, 3440}));
    e.push_back(Data("ppDBText25", "grdDifference", f, kWindowText, R, kFixed, kOneLine,
                     {239448, 529, 21696, 3440}));
    return b;
}

ReportBand Footer() {
    ReportBand b{"ppFooterBand1", BandKind::Footer, 19844, {}};
    auto& e = b.elements;
    e.push_back(Label("ppLabel14", "Preparer By:", Arial(12, true), kWindowText, L, kAuto, kOneLine,
                      {1852, 3704, 25485, 5080}));
    e.push_back(Data("ppDBText13", "Preparer", Arial(12, true), kWindowText, L, kAuto, kOneLine,
                     {28310, 3704, 231511, 5027}));
    e.push_back(Variable("ppSystemVariable1", SystemVariableType::Date, Arial(10, true),
                         kWindowText, L, kAuto, {27781, 11113, 15610, 4233}));
    e.push_back(Label("ppLabel15", "Date Prepared:", Arial(10, true), kWindowText, L, kAuto,
                      kOneLine, {1588, 11113, 24871, 4233}));
    e.push_back(Variable("ppSystemVariable2", SystemVariableType::PageSet, Arial(10, true),
                         kWindowText, L, kAuto, {245269, 11113, 9260, 4233}));
    e.push_back(Label("ppLabel16", "Page", Arial(10, true), kWindowText, L, kAuto, kOneLine,
                      {236009, 11113, 8467, 4233}));
    e.push_back(Graphic("ppLine1", ElementKind::Line, 1.5, {1058, 794, 258763, 1852}));
    return b;
}

ReportBand Summary() {
    ReportBand b{"ppSummaryBand1", BandKind::Summary, 11377, {}};
    b.elements.push_back(Data("ppDBText26", "BreakEven", Arial(12, true), kBlue, L, kAuto, kOneLine,
                              {2910, 3704, 21971, 5080}));
    return b;
}

ReportLayout MakeLayout() {
    ReportLayout r;
    r.documentName = "Report";
    r.paperWidth = 279401;
    r.paperHeight = 215900;
    r.marginLeft = r.marginTop = r.marginRight = r.marginBottom = 6350;
    r.header = Header();
    r.detail = Detail();
    r.footer = Footer();
    r.summary = Summary();
    return r;
}

}  // namespace

const ReportLayout& RptSSLayout() {
    static const ReportLayout layout = MakeLayout();
    return layout;
}

}  // namespace velmora
