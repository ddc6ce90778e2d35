#include "app/viewer/CardRemovalWatcher.h"

#include "card/DriveDiscovery.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kx {

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CardRemovalWatcher::CardRemovalWatcher(QObject* parent, std::string mountInfo)
    : QObject(parent), mountInfo_(std::move(mountInfo)) {
    mounts_ = MountPoints(ReadAll(mountInfo_));
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &CardRemovalWatcher::Check);
    timer_.start();
}

void CardRemovalWatcher::WatchFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) files_.insert(path);
}

std::set<std::string> CardRemovalWatcher::MountPoints(const std::string& text) {
    // Fields: id, parent id, major:minor, root, mount point, ...
    std::set<std::string> points;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id, parent, devno, root, point;
        if (fields >> id >> parent >> devno >> root >> point) points.insert(UnescapeMountField(point));
    }
    return points;
}

void CardRemovalWatcher::Check() {
    const auto now = MountPoints(ReadAll(mountInfo_));
    for (const auto& point : mounts_)
        if (!now.count(point)) emit volumeRemoved(QString::fromStdString(point));
    mounts_ = now;
    for (auto it = files_.begin(); it != files_.end();) {
        std::error_code ec;
        if (std::filesystem::exists(*it, ec)) {
            ++it;
            continue;
        }
        const QString gone = QString::fromStdString(*it);
        it = files_.erase(it);
        emit volumeRemoved(gone);
    }
}

}  // namespace kx
