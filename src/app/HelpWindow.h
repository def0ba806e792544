#pragma once
// The manual in a window of its own: a browser over the HTML pages installed
// with the program, offline, with "Inhalt", back, forward and close. The main
// window makes it once and shows it again for every F1 and "Hilfe", so its
// history, size and place stay while the program runs; the main window owns it.
#include <QWidget>
#include <string>

class QTextBrowser;
class QToolButton;

namespace zb {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page `file` at the anchor `section` (empty: its top) and
    // brings the window to the front.
    void ShowPage(const QString& file, const QString& section);
    // The manual's first page installed with the program in `programFolder`;
    // empty, with the German message in `message`, when it is not there.
    static QString ManualIndex(const std::string& programFolder, std::string& message);
    // The manual's section of the main window's page `page` (empty for none).
    static QString SectionOfPage(int page);

    QTextBrowser* Browser() const { return browser_; }

private:
    void FollowSource();

    QTextBrowser* browser_ = nullptr;
    QToolButton* backBtn_ = nullptr;
    QToolButton* forwardBtn_ = nullptr;
    QString indexFile_;
    bool placed_ = false;
};

} // namespace zb
