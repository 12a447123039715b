#pragma once

#include <string>
#include <vector>

namespace velmora {

// Every length of a layout is in thousandths of a millimetre.

enum class ElementKind { Label, DataText, SystemVariable, Shape, Line };
enum class SystemVariableType { Date, PageSet };
enum class TextAlign { Left, Center, Right };
enum class TextColor { Black, Blue, WindowText };

struct ElementFont {
    std::string family = "Arial";
    int pointSize = 10;
    bool bold = false;
};

struct ReportElement {
    std::string name;
    ElementKind kind = ElementKind::Label;
    std::string caption;        // a label's text
    std::string field;          // a data text's field name
    std::string displayFormat;  // a data text's number format, if any
    SystemVariableType variable = SystemVariableType::Date;
    ElementFont font;
    TextColor color = TextColor::Black;
    TextAlign align = TextAlign::Left;
    bool autoSize = false;
    bool wordWrap = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    double penPoints = 0;  // outline of a shape, stroke of a line
};

enum class BandKind { Header, Detail, Footer, Summary };

struct ReportBand {
    std::string name;
    BandKind kind = BandKind::Detail;
    int height = 0;
    std::vector<ReportElement> elements;  // drawn in this order
};

struct ReportLayout {
    std::string documentName;
    int paperWidth = 0;
    int paperHeight = 0;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    ReportBand header;
    ReportBand detail;
    ReportBand footer;
    ReportBand summary;

    const ReportBand& Band(BandKind kind) const;
};

}  // namespace velmora
