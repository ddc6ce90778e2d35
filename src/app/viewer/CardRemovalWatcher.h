#pragma once
// Tells when a volume goes away: a mount point that leaves the mount table, or a card image
// file that is deleted or moved. The mount table is read once a second, which is cheap and
// works in every sandbox (a poll on /proc/self/mountinfo needs no udev).

#include <QObject>
#include <QTimer>

#include <set>
#include <string>

namespace kx {

class CardRemovalWatcher : public QObject {
    Q_OBJECT
public:
    explicit CardRemovalWatcher(QObject* parent = nullptr, std::string mountInfo = "/proc/self/mountinfo");
    // A card image to watch besides the mount table.
    void WatchFile(const std::string& path);
    // Reads the mount table and the watched files now, reporting what went away since the last
    // look.
    void Check();
    // The mount points in a mount table text.
    static std::set<std::string> MountPoints(const std::string& mountInfoText);

signals:
    void volumeRemoved(const QString& root);

private:
    std::string mountInfo_;
    std::set<std::string> mounts_;
    std::set<std::string> files_;
    QTimer timer_;
};

}  // namespace kx
