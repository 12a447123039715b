// The scenario file type as desktops see it once the package has put its MIME XML beside
// freedesktop.org's and the database was rebuilt: scenario files are recognised, and
// Scheme source, which shares the *.ss pattern, stays Scheme because it is text. Qt reads
// the database itself; GLib's view comes from its gio tool when that is installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const char* const kSystemTypes = "/usr/share/mime/packages/freedesktop.org.xml";

// The type GLib gives a file, looking into it as a file manager does.
QString GioType(const QString& gio, const QString& file) {
    QProcess process;
    process.start(gio, {QStringLiteral("info"), QStringLiteral("-a"),
                        QStringLiteral("standard::content-type"), file});
    process.waitForFinished();
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString key = QStringLiteral("standard::content-type: ");
    const qsizetype at = out.indexOf(key);
    return at < 0 ? out : out.mid(at + key.size()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

TEST(ScenarioMimeType, ScenarioFilesAreRecognisedAndSchemeTextStaysScheme) {
    const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (update.isEmpty() || !QFile::exists(QString::fromLatin1(kSystemTypes)))
        GTEST_SKIP() << "shared-mime-info is not installed";

    // A data folder with the database as the package's install leaves it.
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QString packages = data.filePath(QStringLiteral("mime/packages"));
    ASSERT_TRUE(QDir().mkpath(packages));
    ASSERT_TRUE(QFile::copy(QString::fromLatin1(kSystemTypes),
                            packages + QStringLiteral("/freedesktop.org.xml")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/app/velmora-mime.xml"),
                            packages + QStringLiteral("/velmora.xml")));
    ASSERT_EQ(0, QProcess::execute(update, {data.filePath(QStringLiteral("mime"))}));
    // Read at the database's first use; the user's own folder is left out.
    qputenv("XDG_DATA_DIRS", QFile::encodeName(data.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.filePath(QStringLiteral("home"))));

    const QString scenario = data.filePath(QStringLiteral("jane.ss"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_FIXTURES_DIR "/worked-example.ss"), scenario));
    const QString scheme = data.filePath(QStringLiteral("program.ss"));
    {
        QFile file(scheme);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("(define (double x)\n  (* x 2))\n");
    }

    QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(scenario);
    EXPECT_EQ(QStringLiteral("application/x-velmora-scenario"), type.name());
    EXPECT_EQ(QStringLiteral("velmora"), type.iconName());
    EXPECT_EQ(QStringLiteral("text/x-scheme"), db.mimeTypeForFile(scheme).name());

    // GLib picks the first type by name for a binary file without magic: the reason for
    // the glob's weight.
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        return;
    EXPECT_EQ(QStringLiteral("application/x-velmora-scenario"), GioType(gio, scenario));
    EXPECT_EQ(QStringLiteral("text/x-scheme"), GioType(gio, scheme));
}

}  // namespace
