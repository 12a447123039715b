#pragma once

#include <QColor>
#include <QWidget>

namespace velmora {

/// A panel in a colour of its own, with a raised outer bevel, a border and a lowered
/// inner bevel; its contents start inside the inner bevel.
class BevelPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kBorderWidth = 4;
    /// Outer bevel, border and inner bevel together.
    static constexpr int kInset = 1 + kBorderWidth + 1;

    BevelPanel(const QColor& colour, QWidget* parent);
    QColor colour() const { return colour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
};

/// A filled shape with a 1-px outline: a plain rectangle, or a rounded one whose corners
/// are rounded by a quarter of the shorter side.
class ShapeWidget final : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Rectangle, RoundRect };
    ShapeWidget(Kind kind, const QColor& fill, const QColor& outline, QWidget* parent);
    Kind kind() const { return kind_; }
    QColor fill() const { return fill_; }
    QColor outline() const { return outline_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
    QColor fill_;
    QColor outline_;
};

/// A plain area in the desktop's button-face colour. It paints the colour instead of
/// taking the button background role, so its children keep their usual text colours.
class FacePanel final : public QWidget {
    Q_OBJECT
  public:
    explicit FacePanel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

/// The toolbar's strip: button face with an etched line along its top edge.
class ToolBarStrip final : public QWidget {
    Q_OBJECT
  public:
    /// The buttons stand below the etched line.
    static constexpr int kButtonTop = 2;
    explicit ToolBarStrip(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmora
