#include "app/TAboutBox.h"

#include "app/Pictures.h"
#include "app/ProjectInfo.h"

#include <QDate>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace zb {

namespace {

const QColor kPanelColor(240, 202, 166);

QLabel* AddLine(QVBoxLayout* layout, const char* objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    return label;
}

} // namespace

QString ReplaceYearPlaceholder(QString text, int year) {
    const qsizetype at = text.indexOf(QLatin1String("XXXX"));
    if (at >= 0) text.replace(at, 4, QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')));
    return text;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette panelPalette = panel->palette();
    panelPalette.setColor(QPalette::Window, kPanelColor);
    panelPalette.setColor(QPalette::WindowText, Qt::black);
    panelPalette.setColor(QPalette::ButtonText, Qt::black);
    panel->setPalette(panelPalette);

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(LoadPicture(pic::kProdukt, pic::kProduktSize, devicePixelRatioF()));
    picture->setFixedSize(pic::kProduktSize);
    picture->setAccessibleName(QStringLiteral("Bild: ein Stapel Zierbogen"));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(10);
    QLabel* product = AddLine(texts, "ProductName",
                              QStringLiteral("%1 %2").arg(QLatin1String(kProductName), QLatin1String(ZB_VERSION)),
                              panel);
    QFont productFont = product->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.6);
    product->setFont(productFont);
    AddLine(texts, "Copyright",
            ReplaceYearPlaceholder(QStringLiteral("© XXXX Das Zierbogen-Drucker-Projekt"), QDate::currentDate().year()),
            panel);
    texts->addSpacing(12);
    AddLine(texts, "Comments1", QStringLiteral("Gestalten und Drucken von Zierpapier: Farbverläufe, Muster, "
                                               "Texturen, Filter und Text, Ebene für Ebene übereinandergelegt."),
            panel);
    AddLine(texts, "Comments2", QStringLiteral("Jeder Druck ergibt einen neuen Bogen derselben Art."), panel);
    AddLine(texts, "Comments3", QStringLiteral("Ein freies Projekt: Anregungen und Fehlerberichte sind auf "
                                               "unserer Internetseite willkommen."),
            panel);
    texts->addStretch(1);

    auto* web = new QToolButton(panel);
    web->setObjectName(QStringLiteral("wwwBtn"));
    web->setText(QString::fromLatin1(kProjectWebAddress));
    web->setIcon(LoadIcon(pic::kWeb));
    web->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    web->setAutoRaise(true);
    web->setCursor(Qt::PointingHandCursor);
    web->setToolTip(QStringLiteral("Zur Internetseite des Projekts"));
    web->setAccessibleName(QStringLiteral("Internetseite des Projekts öffnen"));
    // Nothing is reported when no browser can be started.
    connect(web, &QToolButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kProjectWebAddress))); });
    texts->addWidget(web, 0, Qt::AlignLeft);

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->setSpacing(16);
    panelLayout->addWidget(picture, 0, Qt::AlignTop);
    panelLayout->addLayout(texts, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    ok->setMinimumWidth(90);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(panel, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);

    ok->setFocus();
    // Logical pixels: the platform scales them to the display, and large
    // fonts still get the room they need.
    setFixedSize(QSize(kClientWidth, kClientHeight).expandedTo(layout->totalSizeHint()));
}

} // namespace zb
