#include "ui/application.h"

#include <QIconEngine>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

namespace velmora {

namespace {

// An icon that is made from its style on first use; copies share what was made.
class DeferredIconEngine final : public QIconEngine {
  public:
    explicit DeferredIconEngine(std::function<QIcon()> make)
        : shared_(std::make_shared<Shared>(Shared{std::move(make), std::nullopt})) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    bool isNull() override { return Icon().isNull(); }
    QString key() const override { return QStringLiteral("velmora-deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

  private:
    struct Shared {
        std::function<QIcon()> make;
        std::optional<QIcon> icon;
    };

    const QIcon& Icon() {
        if (!shared_->icon) {
            shared_->icon = shared_->make();
            shared_->make = nullptr;
        }
        return *shared_->icon;
    }

    std::shared_ptr<Shared> shared_;
};

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setStyle(new DeferredIconStyle);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!exceptionHandler)
            throw;
        exceptionHandler(std::current_exception());
        return true;
    }
}

DeferredIconStyle::DeferredIconStyle() = default;

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                      const QWidget* widget) const {
    // An option is only borrowed for the call, so such an icon is made at once.
    if (option != nullptr)
        return QProxyStyle::standardIcon(icon, option, widget);
    // Either may be gone by the time the icon is first drawn.
    QPointer<QStyle> base(baseStyle());
    QPointer<const QWidget> owner(widget);
    return QIcon(new DeferredIconEngine([base, owner, icon] {
        return base ? base->standardIcon(icon, nullptr, owner.data()) : QIcon();
    }));
}

}  // namespace velmora
