#pragma once
// The window's message boxes and file dialogs behind one small interface, so
// tests answer them instead of a user. QtDialogs is the real one.
#include <QString>

class QWidget;

namespace zb {

class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // Information icon, OK and Cancel; true only for OK.
    virtual bool Confirm(QWidget* parent, const QString& caption, const QString& text) = 0;
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
