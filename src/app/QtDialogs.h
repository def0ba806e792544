#pragma once
// The DialogProvider of the running program: modal Qt message boxes and file dialogs.
#include "app/DialogProvider.h"

namespace zb {

class QtDialogs final : public DialogProvider {
public:
    Answer Ask(QWidget* parent, const QString& caption, const QString& text, bool offerSave) override;
    bool Choose(QWidget* parent, const QString& caption, const QString& text, const QString& yes,
                const QString& no) override;
    std::optional<std::vector<bool>> ChooseItems(QWidget* parent, const QString& caption, const QString& text,
                                                 const QStringList& items, const QString& yes, const QString& no,
                                                 const QString& later) override;
    void Error(QWidget* parent, const QString& caption, const QString& text) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& folder) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& defaultSuffix, const QString& folder) override;
};

} // namespace zb
