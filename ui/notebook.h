#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace velmora {

/// Pages with tabs along the top. The current tab's caption is drawn in its own font and
/// colour; the strip is as high as the larger of the two caption fonts plus 4 px.
/// Clicking a tab takes the focus and then switches pages, unless mayChangePage says no.
class Notebook final : public QWidget {
    Q_OBJECT
  public:
    explicit Notebook(QWidget* parent = nullptr);

    void AddPage(QWidget* page, const QString& caption);
    int Count() const { return static_cast<int>(pages_.size()); }
    QWidget* Page(int index) const;
    QString Caption(int index) const;
    int CurrentIndex() const { return current_; }
    void SetCurrentIndex(int index);

    void SetCurrentTabFont(const QFont& font, const QColor& colour);
    int TabStripHeight() const;
    QRect TabRect(int index) const;
    /// Where the pages sit, inside the page frame.
    QRect PageRect() const;

    /// Asked after a tab click has moved the focus; false keeps the current page.
    std::function<bool()> mayChangePage;

  signals:
    void currentChanged(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    struct Tab {
        QWidget* page;
        QString caption;
    };
    void LayoutPages();

    std::vector<Tab> pages_;
    int current_ = -1;
    QFont currentFont_;
    QColor currentColour_;
};

}  // namespace velmora
