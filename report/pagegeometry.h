#pragma once

namespace velmora {

struct ReportLayout;

/// Where the bands of a layout go on the paper: the header at the top margin, the
/// footer ending at the bottom margin, the body between them, every band spanning
/// the width between the side margins.
class PageGeometry {
  public:
    explicit PageGeometry(const ReportLayout& layout);
    int BandLeft() const { return left_; }
    int BandWidth() const { return width_; }
    int HeaderTop() const { return headerTop_; }
    int BodyTop() const { return bodyTop_; }
    int FooterTop() const { return footerTop_; }

  private:
    int left_;
    int width_;
    int headerTop_;
    int bodyTop_;
    int footerTop_;
};

/// Stacks bands down the body of a page; a band fits while its bottom stays at or
/// above the footer's top. Bands are never split or stretched.
class BandStack {
  public:
    explicit BandStack(const PageGeometry& geometry);
    bool Fits(int height) const { return next_ + height <= limit_; }
    /// Places a band below the previous one and gives its top.
    int Place(int height);

  private:
    int next_;
    int limit_;
};

}  // namespace velmora
