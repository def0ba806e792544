#include "app/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <iterator>

#include "platform/FileNames.h"
#include "platform/QtPlatform.h"

namespace zb {

namespace {

const QSize kPreferredSize(860, 720);

QToolButton* BarButton(const char* name, const QString& caption, const QString& hint, const QIcon& icon) {
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Handbuch"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(2);
    auto* bar = new QHBoxLayout;
    auto* contentsBtn = BarButton("ContentsBtn", QStringLiteral("Inhalt"), QStringLiteral("Inhaltsverzeichnis"),
                                  style()->standardIcon(QStyle::SP_FileDialogContentsView));
    backBtn_ = BarButton("BackBtn", QString::fromUtf8("Zurück"), QString::fromUtf8("Zurück (Alt+Links)"),
                         style()->standardIcon(QStyle::SP_ArrowBack));
    forwardBtn_ = BarButton("ForwardBtn", QStringLiteral("Vor"), QStringLiteral("Vor (Alt+Rechts)"),
                            style()->standardIcon(QStyle::SP_ArrowForward));
    auto* closeBtn = BarButton("CloseBtn", QString::fromUtf8("Schließen"), QString::fromUtf8("Handbuch schließen (Esc)"),
                               style()->standardIcon(QStyle::SP_DialogCloseButton));
    bar->addWidget(contentsBtn);
    bar->addWidget(backBtn_);
    bar->addWidget(forwardBtn_);
    bar->addStretch(1);
    bar->addWidget(closeBtn);
    column->addLayout(bar);

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setAccessibleName(QStringLiteral("Handbuch"));
    // Addresses outside the manual go to the web browser; the manual's own
    // pages stay here.
    browser_->setOpenExternalLinks(true);
    column->addWidget(browser_, 1);

    backBtn_->setEnabled(false);
    forwardBtn_->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, backBtn_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardBtn_, &QToolButton::setEnabled);
    connect(backBtn_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardBtn_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(contentsBtn, &QToolButton::clicked, this, [this] {
        if (!indexFile_.isEmpty()) ShowPage(indexFile_, QStringLiteral("inhalt"));
    });
    connect(closeBtn, &QToolButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::FollowSource);
}

void HelpWindow::ShowPage(const QString& file, const QString& section) {
    indexFile_ = file;
    if (!placed_) {
        // Beside the program's window if there is room, never larger than the screen.
        placed_ = true;
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        QSize size = kPreferredSize;
        if (screen) {
            const QRect avail = screen->availableGeometry();
            size = size.boundedTo(avail.size() * 9 / 10);
            resize(size);
            move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
        } else {
            resize(size);
        }
    }
    show();
    raise();
    activateWindow();
    QUrl url = QUrl::fromLocalFile(file);
    if (!section.isEmpty()) url.setFragment(section);
    browser_->setSource(url);
    // An address without anchor keeps the old scroll position: start at the top.
    if (section.isEmpty()) browser_->verticalScrollBar()->setValue(0);
}

void HelpWindow::FollowSource() {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Handbuch") : title);
}

QString HelpWindow::ManualIndex(const std::string& programFolder, std::string& message) {
    const std::string index = platform::FindManualFolder(programFolder) + "/" + platform::kManualIndexName;
    const QString file = QFile::decodeName(QByteArray::fromStdString(index));
    if (QFileInfo(file).isFile()) return file;
    message = "Das Handbuch wurde nicht gefunden:\n" + platform::DisplayPath(index) +
              "\n\nEs wird mit dem Programm installiert; bitte installieren Sie Zierbogen-Drucker erneut.";
    return {};
}

QString HelpWindow::SectionOfPage(int page) {
    // The main window's pages come in this order.
    static const char* const kPageSections[] = {"ebenen", "papierformat", "drucken"};
    return page >= 0 && page < int(std::size(kPageSections)) ? QString::fromLatin1(kPageSections[page]) : QString();
}

} // namespace zb
