#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTextBrowser>

#include "support/qtprint.h"
#include "ui/helpviewer.h"

namespace velmora {
namespace {

TEST(HelpViewer, EveryContextTheWindowAsksForHasATopic) {
    for (const int context : {10, 210, 220}) {
        SCOPED_TRACE(context);
        EXPECT_TRUE(QFileInfo::exists(HelpViewer::TopicFile(context)));
    }
}

TEST(HelpViewer, ShowsTheTopicOrSaysThatItIsMissing) {
    HelpViewer viewer;
    auto* browser = viewer.findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    viewer.ShowTopic(210);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("The File menu")));
    viewer.ShowTopic(999);
    EXPECT_TRUE(
        browser->toPlainText().startsWith(QStringLiteral("Help topic 999 could not be found")));
}

}  // namespace
}  // namespace velmora
