#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace velmora {

/// The program's help viewer: shows the topic with a context number from the help
/// folder fixed when the program was built. A missing topic is reported in the viewer.
class HelpViewer final : public QDialog {
    Q_OBJECT
  public:
    explicit HelpViewer(QWidget* parent = nullptr);
    void ShowTopic(int context);
    /// The folder that holds topic<N>.html for each context number.
    static QString HelpFolder();
    static QString TopicFile(int context);

  private:
    QTextBrowser* browser_;
};

}  // namespace velmora
