// Finding and loading the chart library: the first candidate that loads wins, and a failure
// names every file and why, so that a broken installation says what is missing.
#include <gtest/gtest.h>

#include <QChartView>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "report/summary/chartlibrary.h"

namespace velmora {
namespace {

TEST(ChartLibrary, FirstCandidateThatLoadsWinsAndFailuresSayWhy) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString missing = folder.filePath(QStringLiteral("missing.so"));
    const QString notLibrary = folder.filePath(QStringLiteral("text.so"));
    {
        QFile file(notLibrary);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a library\n");
    }
    // A real library without the entry point.
    const QString otherLibrary = QStringLiteral("/lib/x86_64-linux-gnu/libm.so.6");
    const QString built = ChartLibraryCandidates().back();

    const ChartLibraryLoad none = LoadChartLibrary({missing});
    EXPECT_EQ(none.library, nullptr);
    EXPECT_EQ(none.failure, "The chart library could not be loaded (none of " +
                                missing.toStdString() + " exists).");

    const ChartLibraryLoad broken = LoadChartLibrary({missing, notLibrary, otherLibrary});
    EXPECT_EQ(broken.library, nullptr);
    EXPECT_NE(broken.failure.find(notLibrary.toStdString() + ": "), std::string::npos)
        << broken.failure;
    EXPECT_NE(broken.failure.find(otherLibrary.toStdString() + ": it has no " + kChartLibraryEntry),
              std::string::npos)
        << broken.failure;
    EXPECT_EQ(broken.failure.find(missing.toStdString()), std::string::npos) << broken.failure;

    const ChartLibraryLoad loaded = LoadChartLibrary({missing, notLibrary, built});
    ASSERT_NE(loaded.library, nullptr) << loaded.failure;
    EXPECT_EQ(loaded.library, &Charts());
    QWidget parent;
    QWidget* view = loaded.library->makeView(&parent, parent.font());
    ASSERT_NE(qobject_cast<QChartView*>(view), nullptr);
    EXPECT_EQ(view->parent(), &parent);
}

}  // namespace
}  // namespace velmora
