#include "app/JobPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zb {

JobPanel::JobPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("JobPanel"));
    JobLabel = new QLabel;
    JobLabel->setObjectName(QStringLiteral("JobLabel"));
    JobProgress = new QProgressBar;
    JobProgress->setObjectName(QStringLiteral("JobProgress"));
    JobProgress->setRange(0, 1000);
    JobProgress->setTextVisible(false);
    JobProgress->setMaximumWidth(160);
    JobProgress->setAccessibleName(QStringLiteral("Fortschritt des Auftrags"));
    JobCancelBtn = new QPushButton(QStringLiteral("Abbrechen"));
    JobCancelBtn->setObjectName(QStringLiteral("JobCancelBtn"));
    JobCancelBtn->setToolTip(QStringLiteral("Den laufenden Druck oder Export abbrechen"));
    connect(JobCancelBtn, &QPushButton::clicked, this, [this] {
        JobCancelBtn->setEnabled(false);
        if (onCancel) onCancel();
    });
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(JobLabel);
    row->addWidget(JobProgress);
    row->addWidget(JobCancelBtn);
    hide();
}

void JobPanel::Begin(const QString& caption) {
    JobLabel->setText(caption);
    JobProgress->setValue(0);
    JobCancelBtn->setEnabled(true);
    show();
}

void JobPanel::SetPermille(int permille) { JobProgress->setValue(permille); }

void JobPanel::End() { hide(); }

} // namespace zb
