#include "ui/helpviewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora {

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Velmora Analysis Help"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(false);
    resize(520, 420);
}

QString HelpViewer::HelpFolder() {
    // The project's own folder while it is there, else the installed copy: beside the
    // program (a package installs under another prefix than the build's), else where
    // the build would install it.
    const auto hasTopics = [](const QString& folder) {
        return QFileInfo::exists(folder + QStringLiteral("/topic10.html"));
    };
    const QString source = QStringLiteral(VELMORA_HELP_DIR);
    if (hasTopics(source))
        return source;
    const QString besideProgram = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/" VELMORA_HELP_FROM_BIN));
    if (hasTopics(besideProgram))
        return besideProgram;
    return QStringLiteral(VELMORA_INSTALLED_HELP_DIR);
}

QString HelpViewer::TopicFile(int context) {
    return QDir(HelpFolder()).filePath(QStringLiteral("topic%1.html").arg(context));
}

void HelpViewer::ShowTopic(int context) {
    const QString file = TopicFile(context);
    if (QFileInfo::exists(file)) {
        browser_->setSource(QUrl::fromLocalFile(file));
    } else {
        browser_->setPlainText(
            QStringLiteral("Help topic %1 could not be found: %2").arg(context).arg(file));
    }
    show();
    raise();
    activateWindow();
}

}  // namespace velmora
