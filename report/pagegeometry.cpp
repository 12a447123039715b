#include "report/pagegeometry.h"

#include "report/reportlayout.h"

namespace velmora {

PageGeometry::PageGeometry(const ReportLayout& layout)
    : left_(layout.marginLeft),
      width_(layout.paperWidth - layout.marginLeft - layout.marginRight),
      headerTop_(layout.marginTop),
      bodyTop_(layout.marginTop + layout.header.height),
      footerTop_(layout.paperHeight - layout.marginBottom - layout.footer.height) {}

BandStack::BandStack(const PageGeometry& geometry)
    : next_(geometry.BodyTop()), limit_(geometry.FooterTop()) {}

int BandStack::Place(int height) {
    const int top = next_;
    next_ += height;
    return top;
}

}  // namespace velmora
