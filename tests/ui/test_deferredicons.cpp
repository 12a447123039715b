// The desktop style's standard icons, made only when first used: the same pictures as the
// style's own, and an icon that outlives its style draws nothing instead of reaching it.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QWidget>

#include "ui/application.h"

namespace velmora {
namespace {

TEST(DeferredIconStyle, GivesTheDesktopStylesIconsWhenFirstUsed) {
    DeferredIconStyle style;
    QStyle* desktop = style.baseStyle();
    QWidget owner;
    for (const QStyle::StandardPixmap icon :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_MessageBoxWarning, QStyle::SP_DialogOkButton, QStyle::SP_ArrowBack,
          QStyle::SP_DirIcon}) {
        SCOPED_TRACE(static_cast<int>(icon));
        const QIcon deferred = style.standardIcon(icon, nullptr, &owner);
        const QIcon made = desktop->standardIcon(icon, nullptr, &owner);
        EXPECT_EQ(deferred.isNull(), made.isNull());
        EXPECT_EQ(deferred.availableSizes(), made.availableSizes());
        for (const int size : {8, 16, 32}) {
            EXPECT_EQ(deferred.actualSize(QSize(size, size)), made.actualSize(QSize(size, size)));
            EXPECT_EQ(deferred.pixmap(size).toImage(), made.pixmap(size).toImage());
            EXPECT_EQ(deferred.pixmap(size, QIcon::Disabled).toImage(),
                      made.pixmap(size, QIcon::Disabled).toImage());
        }
    }
}

TEST(DeferredIconStyle, AnIconThatOutlivesItsStyleAndWidgetIsEmpty) {
    QIcon icon;
    {
        DeferredIconStyle style;
        QWidget owner;
        icon = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, &owner);
    }
    EXPECT_TRUE(icon.pixmap(16).isNull());
}

}  // namespace
}  // namespace velmora
