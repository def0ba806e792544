#pragma once
// The designs opened or saved last, newest first, at most eight, each once;
// files that are gone are left out when the list is shown. The user's
// settings keep the list between runs.
#include <QStringList>

namespace zb {

class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    // The list the settings keep.
    static RecentFiles Load();
    void Save() const;

    // `file` was opened or saved: it moves to the front.
    void Add(const QString& file);
    // The files that still exist, newest first.
    QStringList Existing() const;
    const QStringList& All() const { return files_; }

private:
    QStringList files_;
};

} // namespace zb
