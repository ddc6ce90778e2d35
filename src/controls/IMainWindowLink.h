#pragma once
// What the seek bar and the playlist ask of the main window. The main window implements it;
// tests implement it with a few fields.

#include <QStringList>

namespace kx {

class IMainWindowLink {
public:
    virtual ~IMainWindowLink() = default;

    // True while a recording is being opened: the seek bar and the playlist's drop handling
    // then ignore the user.
    virtual bool IsBusy() const = 0;
    // Gives the keyboard focus back to the control the main window keeps it on (after the
    // seek bar let the mouse go).
    virtual void FocusDesignatedControl() = 0;
    // Files and folders dropped on the playlist (local paths, the first one first), while not
    // busy: stop and close the open recording and load the drop as a source of dropped items.
    virtual void DropFiles(const QStringList& paths) = 0;
};

}  // namespace kx
