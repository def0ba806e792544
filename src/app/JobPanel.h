#pragma once
// The status bar's panel of a print or an export running in the background:
// what runs, how far it got, and "Abbrechen". The window stays usable
// meanwhile; the panel is hidden while no job runs.
//
// Ownership: a child widget of the status bar; the cancel action is the owner's.
#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zb {

class JobPanel : public QWidget {
    Q_OBJECT
public:
    explicit JobPanel(QWidget* parent = nullptr);

    // Shows the panel with the job's caption at 0 %.
    void Begin(const QString& caption);
    // Per mille done.
    void SetPermille(int permille);
    // Hides the panel.
    void End();

    // Called when "Abbrechen" is pressed.
    std::function<void()> onCancel;

private:
    QLabel* JobLabel = nullptr;
    QProgressBar* JobProgress = nullptr;
    QPushButton* JobCancelBtn = nullptr;
};

} // namespace zb
