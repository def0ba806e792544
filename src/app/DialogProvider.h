#pragma once
// The window's message boxes and file dialogs behind one small interface, so
// tests answer them instead of a user. QtDialogs is the real one.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace zb {

// The answers of a question that may offer to save first.
enum class Answer { Cancel, Ok, Save };

class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // Information icon, OK and Cancel, and "Speichern" when `offerSave`.
    virtual Answer Ask(QWidget* parent, const QString& caption, const QString& text, bool offerSave) = 0;
    // The question without "Speichern"; true only for OK.
    bool Confirm(QWidget* parent, const QString& caption, const QString& text) {
        return Ask(parent, caption, text, false) == Answer::Ok;
    }
    // Question icon and two buttons worded `yes` and `no`; true for `yes`.
    virtual bool Choose(QWidget* parent, const QString& caption, const QString& text, const QString& yes,
                        const QString& no) = 0;
    // A question about several items, each with a check box (checked at
    // first), and three buttons: `yes` chooses the checked items, `no` none of
    // them, `later` (also Escape) leaves the decision. Returns the check
    // state of every item for `yes`, all false for `no`, nothing for `later`.
    virtual std::optional<std::vector<bool>> ChooseItems(QWidget* parent, const QString& caption,
                                                         const QString& text, const QStringList& items,
                                                         const QString& yes, const QString& no,
                                                         const QString& later) = 0;
    // Error icon and OK. An empty caption shows the application's title.
    virtual void Error(QWidget* parent, const QString& caption, const QString& text) = 0;
    // File dialogs; an empty result means cancelled. `filter` is in Qt's
    // syntax, its first entry selected; `defaultSuffix` is appended to a typed
    // name without one. The save dialog asks before replacing a file.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& folder) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix, const QString& folder) = 0;
};

} // namespace zb
